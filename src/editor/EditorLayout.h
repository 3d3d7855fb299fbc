#pragma once
// Where the schedule editor's controls stand, in dialog units of the dialog
// font, written once for the window to build from.

#include <string>
#include <vector>

enum class ControlKind { Label, ColumnHeads, Ruler, List, FileBox, Edit, ReadOnlyEdit, CheckBox, Button, TextView, Slider };

struct ControlPlace {
    int id;  // -1 for labels, heads and rulers
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

struct DialogSize {
    int width, height;
};

constexpr DialogSize kEditorSize{406, 330};

const std::vector<ControlPlace>& EditorControlPlaces();

// The column heads over the list, each above its column of the display form.
std::string ListColumnHeads();
