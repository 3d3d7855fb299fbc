#pragma once
// The schedule editor's commands: the list's Insert, Replace, Delete, Auto
// Time and both Saves, Cancel, the choices of a list line or a file, Enter,
// and the reload that showing or hiding the window makes after Save-n-Exit
// or Cancel. Owns the list, the file box and the text view; talks to its
// window only through Controls and the EditorSurface. Window thread.

#include <string>

#include "editor/FileChoices.h"
#include "editor/ScheduleList.h"
#include "editor/TextViewPane.h"

class Clock;
class Controls;
class EditorSurface;
struct ProgramState;

class ScheduleEditor {
public:
    static constexpr const char* kWorkFileName = "schedule.tmp";
    static constexpr const char* kDefaultFilter = "*.txt";

    ScheduleEditor(ProgramState& state, Controls& window, EditorSurface& surface, const Clock& clock);

    // Before the first showing: the title with the spaced call sign.
    void SetTitle();
    // Each showing or hiding; reloads schedule.lst when editorReload asks.
    void OnShownOrHidden();

    void OnListChoice();
    void OnFileChoice();
    void OnFileBoxDropDown() { choices_.RebuildFileChoices(); }
    void OnInsert();
    void OnReplace();
    void OnDelete();
    void OnAutoTime() { saveAndReloadWork(); }
    void OnSave();
    void OnSaveAndExit();
    void OnCancel();
    void OnEnterInFileName();
    void OnEnter();

    TextViewPane& textView() { return view_; }
    const std::string& workPath() const { return workPath_; }

private:
    int selectedLine();
    // Insert's time text from Date and Time or the reference line; false when
    // the reference line lacks the three words an insertion needs.
    bool referenceTime(int reference, std::string& timeText);
    void insertBefore(int reference, const std::string& name, const std::string& timeText);
    void saveAndReloadWork();

    ProgramState& state_;
    Controls& window_;
    EditorSurface& surface_;
    const Clock& clock_;
    FileChoices choices_;
    ScheduleList list_;
    TextViewPane view_;
    std::string workPath_;
};
