#pragma once
// The station's dialogs are set in a 9-point typewriter face; fontconfig
// resolves the names to their metric twins (Liberation Mono).

#include <QFont>
#include <QString>

// "Courier New", the main window's and the editor's face.
QFont DialogFont();
QFont DialogFont(const QString& family);
