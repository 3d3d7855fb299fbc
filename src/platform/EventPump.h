#pragma once
// Dispatches whatever is waiting for the calling thread and returns; every wait
// of the transmit path is a loop around it. Injectable, so tests can drive
// simulated time from inside the waits.

class EventPump {
public:
    virtual ~EventPump() = default;
    // Never blocks for long: with nothing pending it rests about a millisecond,
    // so a wait loop built on it does not spin a core.
    virtual void pumpMessages() = 0;
};
