#pragma once
// The program's pump: on the window thread it processes every pending Qt event
// (timers, buttons, calls carried from other threads); on other threads it
// only rests briefly.

#include "platform/EventPump.h"

class QtEventPump : public EventPump {
public:
    void pumpMessages() override;
};
