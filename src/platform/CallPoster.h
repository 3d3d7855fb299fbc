#pragma once
// Runs a call later on the window thread, from its event loop. The clock tick
// posts its transmit-cycle step this way: Qt does not deliver a timer's event
// again while that timer's handler runs, and a transmission started by the
// step must go on seeing the ticks inside its waits.

#include <QObject>
#include <functional>
#include <memory>

class CallPoster {
public:
    virtual ~CallPoster() = default;
    virtual void post(std::function<void()> call) = 0;
};

// Calls posted here and not yet run are dropped with the poster, so none
// outlives the station it calls into.
class QtCallPoster : public CallPoster {
public:
    QtCallPoster();
    ~QtCallPoster() override;
    void post(std::function<void()> call) override;

private:
    std::unique_ptr<QObject> context_;
};
