#include "app/window/PaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

PaintPacer::PaintPacer(QWidget* window, int framesPerSecond)
    : QObject(window), window_(window), frameMs_(framesPerSecond > 0 ? 1000 / framesPerSecond : 0) {
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
    if (frameMs_ == 0) return true;
    if (sinceLastPaint_.isValid() && sinceLastPaint_.elapsed() < frameMs_) {
        if (!release_.isActive()) release_.start(static_cast<int>(frameMs_ - sinceLastPaint_.elapsed()));
        return true;
    }
    sinceLastPaint_.start();
    ++paints_;
    return false;
}
