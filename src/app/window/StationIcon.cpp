#include "app/window/StationIcon.h"

#include <QPainter>
#include <QPixmap>

QIcon StationIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0, 0, 128));
    QPainter paint(&pixmap);
    paint.setPen(Qt::NoPen);
    paint.setBrush(QColor(255, 255, 192));
    paint.drawRect(2, 10, 28, 12);
    paint.setBrush(QColor(0, 0, 0));
    // One character of tape: five holes around the feed hole.
    for (int hole : {0, 1, 3, 4}) paint.drawEllipse(5 + hole * 5, 13, 4, 4);
    paint.drawEllipse(16, 14, 2, 2);
    return QIcon(pixmap);
}
