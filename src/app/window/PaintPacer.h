#pragma once
// Paints the station's window at most so many times a second. Mail pouring
// in changes the queue and the log many hundred times a second, and the
// window thread (which also runs the air) would otherwise lay out and paint
// both lists for every change; held back, the changes of a few dozen
// milliseconds are painted together, and the last is on the screen within
// one frame. A headless station's window is never painted: nobody can see
// it, and a picture taken of it (QWidget::grab) is drawn afresh. Only the
// painting is held back, never the controls' contents.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

class PaintPacer : public QObject {
public:
    static constexpr int kFramesOnADisplay = 25;

    // 0 frames a second: never painted.
    PaintPacer(QWidget* window, int framesPerSecond);

    int paintsLetThrough() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    const int frameMs_;
    QElapsedTimer sinceLastPaint_;
    QTimer release_;
    int paints_ = 0;
};
