#include "app/window/DialogFont.h"

namespace {
constexpr int kDialogPoints = 9;
}

QFont DialogFont() { return DialogFont(QStringLiteral("Courier New")); }

QFont DialogFont(const QString& family) {
    QFont font(family, kDialogPoints);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
