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

void QtEventPump::pumpPending() {
    if (onWindowThread()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::pumpUntilEvent() {
    if (onWindowThread())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    else
        std::this_thread::sleep_for(kRest);
}

bool QtEventPump::runsWindowEvents() const { return onWindowThread(); }

// Below a millisecond (a fast line's character) no timer can end the loop:
// what is pending is dispatched, then the thread rests the span.
void QtEventPump::pumpFor(std::chrono::microseconds span) {
    if (!onWindowThread()) {
        std::this_thread::sleep_for(span);
        return;
    }
    if (span < std::chrono::milliseconds(1)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(span);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(span), &loop, &QEventLoop::quit);
    loop.exec();
}
