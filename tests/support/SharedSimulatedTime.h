#pragma once
// Simulated time for a station whose sessions run on real threads. The
// test's own thread is the window thread: its pumps drive SimulatedTime (the
// clock, the window timers, the posted calls), each resting a little so the
// session threads keep up. Any other thread's pump only rests, as the
// program's pump does off the window thread, and may post calls for the
// window thread safely.

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/CallPoster.h"
#include "platform/EventPump.h"
#include "support/SimulatedTime.h"

class SharedSimulatedTime : public EventPump, public CallPoster {
public:
    explicit SharedSimulatedTime(TestClock& clock) : window(clock) {}

    void pumpMessages() override;
    void pumpFor(std::chrono::microseconds span) override;
    bool runsWindowEvents() const override { return onWindowThread(); }
    void post(std::function<void()> call) override;

    // Pumps the window thread until `condition` holds; false after `limit` of real time.
    bool runUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
    // Pumps for `span` of simulated time.
    void runFor(std::chrono::milliseconds span);

    SimulatedTime window;
    // Real time each pump rests, set before the sessions start: on the window
    // thread simulated time runs about 10 ms / windowRest faster than real time.
    std::chrono::microseconds windowRest{100};
    std::chrono::microseconds sessionRest{1000};

private:
    bool onWindowThread() const { return std::this_thread::get_id() == windowThread_; }

    std::thread::id windowThread_ = std::this_thread::get_id();
    std::mutex lock_;
    std::deque<std::function<void()>> posted_;
};
