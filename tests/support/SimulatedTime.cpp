#include "support/SimulatedTime.h"

void SimulatedTime::pumpMessages() {
    ++pumps;
    now_ += kStep;
    clock_.advance(kStep);
    if (everyPump) everyPump();
    fireDueTimers();
    runPosted();
}

bool SimulatedTime::start(int timerId, int periodMs) {
    if (refuseTimers) return false;
    std::chrono::milliseconds period(periodMs);
    timers_[timerId] = Timer{period, now_ + period};
    return true;
}

void SimulatedTime::stop(int timerId) { timers_.erase(timerId); }

bool SimulatedTime::running(int timerId) const { return timers_.count(timerId) > 0; }

void SimulatedTime::post(std::function<void()> call) { posted_.push_back(std::move(call)); }

void SimulatedTime::fireDueTimers() {
    for (int id : {kClockTimerId, kMorseTimerId}) {
        auto found = timers_.find(id);
        if (found == timers_.end() || found->second.inHandler || found->second.nextAt > now_) continue;
        found->second.nextAt += found->second.period;
        found->second.inHandler = true;
        fire(id);
        found = timers_.find(id);
        if (found != timers_.end()) found->second.inHandler = false;
    }
}

// Taken off the queue before they run, so calls posted inside run in nested pumps.
void SimulatedTime::runPosted() {
    while (!posted_.empty()) {
        std::function<void()> call = std::move(posted_.front());
        posted_.pop_front();
        call();
    }
}

bool SimulatedTime::runUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    std::chrono::milliseconds end = now_ + limit;
    while (!condition()) {
        if (now_ >= end) return false;
        pumpMessages();
    }
    return true;
}

void SimulatedTime::runFor(std::chrono::milliseconds span) {
    std::chrono::milliseconds end = now_ + span;
    while (now_ < end) pumpMessages();
}
