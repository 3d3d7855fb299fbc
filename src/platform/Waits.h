#pragma once
// The station's timed waits: they count the ticks of the window's timers
// (timerTick once a second, morseTick on every Morse timer event) while
// pumping messages, so the window and re-entered commands keep running. Only
// a timer event moves the counters, so the wait may sleep until the next event.

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/EventPump.h"

class Waits {
public:
    static constexpr std::chrono::milliseconds kBusyRest{10};

    Waits(EventPump& pump, std::atomic<int32_t>& timerTick, std::atomic<int32_t>& morseTick)
        : pump_(pump), timerTick_(timerTick), morseTick_(morseTick) {}

    void PumpMessages() { pump_.pumpMessages(); }
    // After each character of a text: events go on, no rest is taken (a
    // fast line would wait for it).
    void PumpPending() { pump_.pumpPending(); }
    // While an output works through a character: events go on, the core rests.
    void PumpWhileBusy(std::chrono::microseconds rest = kBusyRest) { pump_.pumpFor(rest); }
    // Resets timerTick, then pumps until it reaches n (n <= 0 returns at once).
    void WaitSeconds(int n);
    // The same on morseTick.
    void WaitTicks(int n);

    // Once the station closes, every wait returns at once and the sending
    // loops stop waiting for their outputs, so that each thread comes out of
    // a transmission within a character. For good: a station does not reopen.
    void closeDown() { closingDown_ = true; }
    bool closingDown() const { return closingDown_; }
    // Whether the calling thread's pumps run the window's events.
    bool runsWindowEvents() const { return pump_.runsWindowEvents(); }

private:
    void waitOn(std::atomic<int32_t>& counter, int n);

    EventPump& pump_;
    std::atomic<int32_t>& timerTick_;
    std::atomic<int32_t>& morseTick_;
    std::atomic<bool> closingDown_{false};
};
