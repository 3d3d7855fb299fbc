#include "platform/QtEventPump.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <thread>

namespace {
constexpr auto kRest = std::chrono::milliseconds(1);
}

void QtEventPump::pumpMessages() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() == app->thread()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    std::this_thread::sleep_for(kRest);
}
