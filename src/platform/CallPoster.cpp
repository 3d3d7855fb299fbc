#include "platform/CallPoster.h"

#include <QMetaObject>

QtCallPoster::QtCallPoster() : context_(std::make_unique<QObject>()) {}
QtCallPoster::~QtCallPoster() = default;

void QtCallPoster::post(std::function<void()> call) {
    QMetaObject::invokeMethod(context_.get(), std::move(call), Qt::QueuedConnection);
}
