#include "editor/EditorLayout.h"

#include "editor/EditorIds.h"

namespace {

using K = ControlKind;
using namespace EditorId;

constexpr const char* kRulerTens = "1         2         3         4         5         6         7         8";
constexpr const char* kRulerUnits = "12345678901234567890123456789012345678901234567890123456789012345678901234567890";

// Columns of the display form: date, time, name, size (right-aligned to 68), Dur (to 78).
struct ColumnHead {
    std::size_t column;
    const char* text;
};
constexpr ColumnHead kColumnHeads[] = {{0, "Date"}, {12, "Time"}, {22, "Filename"}, {65, "Size"}, {76, "Dur"}};

}  // namespace

std::string ListColumnHeads() {
    std::string heads;
    for (const ColumnHead& head : kColumnHeads) {
        heads.resize(head.column, ' ');
        heads += head.text;
    }
    return heads;
}

const std::vector<ControlPlace>& EditorControlPlaces() {
    static const std::vector<ControlPlace> places = {
        {-1, K::ColumnHeads, "", 6, 3, 332, 8},
        {EntryList, K::List, "", 6, 13, 332, 112},
        {Insert, K::Button, "Insert", 344, 13, 56, 14},
        {Replace, K::Button, "Replace", 344, 30, 56, 14},
        {Delete, K::Button, "Delete", 344, 47, 56, 14},
        {SaveList, K::Button, "Save", 344, 77, 56, 14},
        {SaveAndExit, K::Button, "Save-n-Exit", 344, 94, 56, 14},
        {Cancel, K::Button, "Cancel", 344, 111, 56, 14},

        {-1, K::Label, "File or command", 6, 129, 120, 8},
        {-1, K::Label, "Date", 202, 129, 46, 8},
        {-1, K::Label, "Time", 252, 129, 40, 8},
        {FileChoice, K::FileBox, "", 6, 138, 192, 12},
        {Date, K::Edit, "", 202, 138, 46, 12},
        {Time, K::Edit, "", 252, 138, 40, 12},
        {AutoTime, K::CheckBox, "Auto Time", 298, 138, 60, 12},
        {-1, K::Label, "Filter", 6, 156, 26, 12},
        {Filter, K::Edit, "", 34, 156, 60, 12},
        {SortByDate, K::CheckBox, "Sort-By-Date", 100, 156, 72, 12},

        {FileName, K::ReadOnlyEdit, "", 6, 174, 190, 12},
        {-1, K::Label, "Dur", 200, 174, 14, 12},
        {Duration, K::ReadOnlyEdit, "", 216, 174, 36, 12},
        {EditText, K::CheckBox, "Edit", 258, 174, 30, 12},
        {SaveText, K::Button, "Save", 292, 173, 34, 14},
        {ClearText, K::Button, "Clear", 330, 173, 34, 14},
        {ApplyWidth, K::Button, "R", 368, 173, 16, 14},
        {WidthSlider, K::Slider, "", 6, 190, 378, 12},
        // Each tens digit stands over the 0 of its ten columns.
        {-1, K::Ruler, kRulerTens, 6 + 9 * 4, 203, 378 - 9 * 4, 8},
        {-1, K::Ruler, kRulerUnits, 6, 211, 378, 8},
        {TextView, K::TextView, "", 6, 220, 378, 104},
    };
    return places;
}
