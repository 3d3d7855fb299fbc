#pragma once
// Runs a call later on the window thread, from its event loop. The clock tick
// posts its transmit-cycle step this way: Qt does not deliver a timer's event
// again while that timer's handler runs, and a transmission started by the
// step must go on seeing the ticks inside its waits.

#include <functional>

class CallPoster {
public:
    virtual ~CallPoster() = default;
    virtual void post(std::function<void()> call) = 0;
};

class QtCallPoster : public CallPoster {
public:
    void post(std::function<void()> call) override;
};
