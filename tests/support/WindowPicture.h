#pragma once
// Pictures of the station's windows: saved for a person to look at, and read
// back so that a test can check what they show. Window tests only (Qt Widgets).

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

// The window as it is drawn, saved to `path` and read back from there; a
// null image when it could not be saved.
inline QImage SavedPicture(QWidget& window, const QString& path) {
    if (!window.grab().save(path)) return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Whether the picture shows `control` where it stands in `window`, as the
// control draws itself alone. Its edge is left out: rounded corners take the
// colour of what lies behind them.
inline bool PictureShows(const QImage& picture, QWidget& window, QWidget& control) {
    constexpr int kEdge = 3;
    const QRect inside = QRect(QPoint(0, 0), control.size()).adjusted(kEdge, kEdge, -kEdge, -kEdge);
    const QImage alone = control.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(inside);
    return picture.copy(inside.translated(control.mapTo(&window, QPoint(0, 0)))) == alone;
}
