#pragma once
// Dispatches whatever is waiting for the calling thread and returns; every wait
// of the transmit path is a loop around it. Injectable, so tests can drive
// simulated time from inside the waits.

#include <chrono>

class EventPump {
public:
    virtual ~EventPump() = default;
    // Never blocks for long: with nothing pending it rests about a millisecond,
    // so a wait loop built on it does not spin a core.
    virtual void pumpMessages() = 0;
    // Between characters of a text, not in a wait: dispatches what is
    // pending and returns at once.
    virtual void pumpPending() { pumpMessages(); }
    // For waits whose end only an event can bring (a timer tick): may block
    // until the next event instead of resting and polling.
    virtual void pumpUntilEvent() { pumpMessages(); }
    // For waits on an output that works through characters: dispatches
    // events as they come for about `span`, then returns.
    virtual void pumpFor(std::chrono::microseconds span) { pumpMessages(); }
    // Whether the calling thread's pumps run the window's events, the
    // operator's commands among them (the window thread), so that what a
    // wait on this thread waits for can still be brought about from inside it.
    virtual bool runsWindowEvents() const { return true; }
};
