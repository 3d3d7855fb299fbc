#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QThread>

#include <chrono>
#include <thread>

namespace {
constexpr auto kRest = std::chrono::milliseconds(1);

bool onWindowThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

void QtEventPump::pumpMessages() {
    if (onWindowThread()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_for(kRest);
}

void QtEventPump::pumpUntilEvent() {
    if (onWindowThread())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    else
        std::this_thread::sleep_for(kRest);
}

bool QtEventPump::runsWindowEvents() const { return onWindowThread(); }

void QtEventPump::pumpFor(std::chrono::milliseconds span) {
    if (!onWindowThread()) {
        std::this_thread::sleep_for(span);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec();
}
