#pragma once
// The station's icon, drawn once: a teleprinter tape in the window's colours.

#include <QIcon>

QIcon StationIcon();
