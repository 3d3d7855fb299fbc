#pragma once
// Window timers on QTimer, delivered on the thread that owns this object.

#include <map>
#include <memory>

#include "platform/WindowTimers.h"

class QTimer;

class QtWindowTimers : public WindowTimers {
public:
    QtWindowTimers();
    ~QtWindowTimers() override;
    bool start(int timerId, int periodMs) override;
    void stop(int timerId) override;
    bool running(int timerId) const override;

private:
    std::map<int, std::unique_ptr<QTimer>> timers_;
};
