#include "platform/CallPoster.h"

#include <QCoreApplication>
#include <QMetaObject>

void QtCallPoster::post(std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}
