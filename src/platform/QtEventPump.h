#pragma once
// The program's pump: on the window thread it processes every pending Qt event
// (timers, buttons, calls carried from other threads); on other threads it
// only rests briefly. Waiting for the next event blocks on the window thread,
// so a timed wait costs nothing between ticks.

#include "platform/EventPump.h"

class QtEventPump : public EventPump {
public:
    void pumpMessages() override;
    void pumpPending() override;
    void pumpUntilEvent() override;
    void pumpFor(std::chrono::microseconds span) override;
    bool runsWindowEvents() const override;
};
