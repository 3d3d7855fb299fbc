#include "app/window/PaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

constexpr int kFrameMs = 1000 / PaintPacer::kMostPerSecond;

}  // namespace

PaintPacer::PaintPacer(QWidget* window) : QObject(window), window_(window) {
    release_.setSingleShot(true);
    release_.setTimerType(Qt::PreciseTimer);
    connect(&release_, &QTimer::timeout, this,
            [this] { QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest)); });
    window->installEventFilter(this);
}

// Qt asks for one paint of the window's dirty parts at a time and asks again
// only once that one came; an early request waits for the frame's end.
bool PaintPacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::UpdateRequest) return false;
    if (sinceLastPaint_.isValid() && sinceLastPaint_.elapsed() < kFrameMs) {
        if (!release_.isActive()) release_.start(static_cast<int>(kFrameMs - sinceLastPaint_.elapsed()));
        return true;
    }
    sinceLastPaint_.start();
    ++paints_;
    return false;
}
