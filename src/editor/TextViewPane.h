#pragma once
// The editor's text view: a file of the data folder shown with its sending
// time, edited at a line width set with the slider under the column ruler,
// and saved with its lines as wrapped on the screen. Window thread.

#include <string>

class Controls;
class EditorSurface;
class FileChoices;
struct ProgramState;

class TextViewPane {
public:
    static constexpr int kSliderMaximum = 500;
    static constexpr int kEditingSlider = 425;
    static constexpr int kEditingRightMargin = kSliderMaximum - kEditingSlider;
    // The fixed rate of the "Dur" field, characters a second.
    static constexpr double kViewCharactersPerSecond = 5.5005500550055;

    TextViewPane(const ProgramState& state, Controls& window, EditorSurface& surface, FileChoices& choices)
        : state_(state), window_(window), surface_(surface), choices_(choices) {}

    // Loads KOVADataPath + name into the view; true on failure, which the
    // view itself reports.
    bool ShowFile(const std::string& name);

    // "Edit" clicked: editing on or off as the check box now says.
    void OnEditToggled();
    // "Edit" unchecked and the view read-only again at the full width.
    void LeaveEditing();
    // The same, the margins and the slider left as they are.
    void LeaveEditingAtThisWidth();
    // "R", and releasing the slider while editing.
    void OnApplyWidth();
    void OnSliderReleased();
    void OnClear();
    void OnSave();
    // The view as the window's (re)load leaves it.
    void ResetForReload();

private:
    void setEditing(bool editing);
    void showEditingWidth(bool editing);

    const ProgramState& state_;
    Controls& window_;
    EditorSurface& surface_;
    FileChoices& choices_;
};
