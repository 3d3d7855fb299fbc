#pragma once
// Simulated time for whole transmit cycles: every pump advances the test
// clock by 10 ms, fires the window timers that are due (at most once per
// pump, and never again while that timer's own handler runs, as Qt does) and
// runs the calls posted meanwhile. An hour of the station runs in moments.

#include <chrono>
#include <deque>
#include <functional>
#include <map>

#include "platform/CallPoster.h"
#include "platform/EventPump.h"
#include "platform/WindowTimers.h"
#include "support/TestClock.h"

class SimulatedTime : public EventPump, public WindowTimers, public CallPoster {
public:
    static constexpr std::chrono::milliseconds kStep{10};

    explicit SimulatedTime(TestClock& clock) : clock_(clock) {}

    void pumpMessages() override;
    bool start(int timerId, int periodMs) override;
    void stop(int timerId) override;
    bool running(int timerId) const override;
    void post(std::function<void()> call) override;

    // Pumps until `condition` holds or `limit` of simulated time has passed;
    // false on the limit.
    bool runUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
    void runFor(std::chrono::milliseconds span);

    // Runs on every pump (draining a pseudo-terminal, pressing a button).
    std::function<void()> everyPump;
    bool refuseTimers = false;
    long pumps = 0;

private:
    struct Timer {
        std::chrono::milliseconds period;
        std::chrono::milliseconds nextAt;
        bool inHandler = false;
    };
    void fireDueTimers();
    void runPosted();

    TestClock& clock_;
    std::chrono::milliseconds now_{0};
    std::map<int, Timer> timers_;
    std::deque<std::function<void()>> posted_;
};
