#pragma once
// Dialog units of the station's windows: x units are a quarter of the dialog
// font's average character width, y units an eighth of its height.

#include <QFont>
#include <QFontMetrics>
#include <QRect>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) : metrics_(font) {}
    QRect rect(int x, int y, int width, int height) const {
        return QRect(horizontal(x), vertical(y), horizontal(width), vertical(height));
    }
    int horizontal(int units) const { return units * metrics_.averageCharWidth() / 4; }
    int vertical(int units) const { return units * metrics_.height() / 8; }

private:
    QFontMetrics metrics_;
};
