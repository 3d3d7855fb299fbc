#pragma once
// The window's two timers: timer 5, the one-second clock tick, and timer 6, the
// Morse tick. The original platform asked for 1 ms on timer 6 and delivered about
// one event per 10 ms; keying is timed in those events, so 10 ms it is.

#include <functional>

constexpr int kClockTimerId = 5;
constexpr int kClockTimerPeriodMs = 1000;
constexpr int kMorseTimerId = 6;
constexpr int kMorseTimerPeriodMs = 10;

class WindowTimers {
public:
    using Handler = std::function<void(int timerId)>;
    virtual ~WindowTimers() = default;
    // False when no timer could be had.
    virtual bool start(int timerId, int periodMs) = 0;
    virtual void stop(int timerId) = 0;
    virtual bool running(int timerId) const = 0;
    void setHandler(Handler handler) { handler_ = std::move(handler); }

protected:
    void fire(int timerId) {
        if (handler_) handler_(timerId);
    }

private:
    Handler handler_;
};
