#pragma once
// Paints the station's window at most kMostPerSecond times a second. Mail
// pouring in changes the queue and the log many hundred times a second, and
// the window thread (which also runs the air) would otherwise lay out and
// paint both lists for every change; held back, the changes of a few dozen
// milliseconds are painted together. The text itself is never held back,
// only its painting, and a change is on the screen within one frame.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

class PaintPacer : public QObject {
public:
    static constexpr int kMostPerSecond = 25;

    explicit PaintPacer(QWidget* window);

    int paintsLetThrough() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QElapsedTimer sinceLastPaint_;
    QTimer release_;
    int paints_ = 0;
};
