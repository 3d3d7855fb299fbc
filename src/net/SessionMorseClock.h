#pragma once
// The Morse tick of a chat session's own, so that a chat line in CW mode is
// keyed on the session's thread at the station's tick without the window's
// fast timer (which only the window thread can start, and which a file
// transmission starts and stops for itself). Every wait on it rests until
// the next tick and counts it.

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/EventPump.h"
#include "platform/Waits.h"

class SessionMorseClock : public EventPump {
public:
    explicit SessionMorseClock(std::chrono::milliseconds tick) : tick_(tick) {}

    void pumpMessages() override;
    Waits& waits() { return waits_; }

private:
    using Steady = std::chrono::steady_clock;

    std::chrono::milliseconds tick_;
    Steady::time_point next_ = Steady::now();
    std::atomic<int32_t> seconds_{0};
    std::atomic<int32_t> ticks_{0};
    Waits waits_{*this, seconds_, ticks_};
};
