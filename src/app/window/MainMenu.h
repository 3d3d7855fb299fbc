#pragma once
// Menu 133 of the main window: every item with its command id, text,
// separators and initial check marks, bound to the window's controls. Each
// item hands its id to `dispatch`; check marks are the station's to set.

#include <functional>

class QMenuBar;
class WidgetControls;

void BuildMainMenu(QMenuBar* bar, WidgetControls& controls, const std::function<void(int id)>& dispatch);
