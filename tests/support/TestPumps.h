#pragma once
// Pumps for tests: one that counts its calls and runs an action each time
// (the stand-in for timers and buttons firing inside a wait).

#include <atomic>
#include <functional>
#include <thread>

#include "platform/EventPump.h"

class ScriptedPump : public EventPump {
public:
    void pumpMessages() override {
        ++calls;
        if (onPump) onPump();
        std::this_thread::yield();
    }
    std::atomic<long> calls{0};
    std::function<void()> onPump;
};
