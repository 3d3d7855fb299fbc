#include "platform/QtWindowTimers.h"

#include <QTimer>

QtWindowTimers::QtWindowTimers() = default;
QtWindowTimers::~QtWindowTimers() = default;

bool QtWindowTimers::start(int timerId, int periodMs) {
    auto& timer = timers_[timerId];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [this, timerId] { fire(timerId); });
    }
    timer->start(periodMs);
    return timer->isActive();
}

void QtWindowTimers::stop(int timerId) {
    auto found = timers_.find(timerId);
    if (found != timers_.end()) found->second->stop();
}

bool QtWindowTimers::running(int timerId) const {
    auto found = timers_.find(timerId);
    return found != timers_.end() && found->second->isActive();
}
