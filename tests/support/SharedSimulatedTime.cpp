#include "support/SharedSimulatedTime.h"

void SharedSimulatedTime::pumpMessages() {
    if (!onWindowThread()) {
        std::this_thread::sleep_for(sessionRest);
        return;
    }
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard<std::mutex> hold(lock_);
        calls.swap(posted_);
    }
    for (auto& call : calls) window.post(std::move(call));
    window.pumpMessages();
    std::this_thread::sleep_for(windowRest);
}

void SharedSimulatedTime::pumpFor(std::chrono::microseconds span) {
    if (onWindowThread()) pumpMessages();
    else std::this_thread::sleep_for(span);
}

void SharedSimulatedTime::post(std::function<void()> call) {
    std::lock_guard<std::mutex> hold(lock_);
    posted_.push_back(std::move(call));
}

bool SharedSimulatedTime::runUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        pumpMessages();
    }
    return true;
}

void SharedSimulatedTime::runFor(std::chrono::milliseconds span) {
    for (auto pumps = span / SimulatedTime::kStep; pumps > 0; --pumps) pumpMessages();
}
