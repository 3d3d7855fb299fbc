#pragma once
// The schedule editor's logic on a recording window and surface, in a fresh
// working directory with a data folder, at a fixed local time.

#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "editor/EditorIds.h"
#include "editor/ScheduleEditor.h"
#include "support/FakeControls.h"
#include "support/FakeEditorSurface.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

struct EditorFixture {
    TempDir dir;
    ProgramState state;
    FakeControls window;
    FakeEditorSurface surface;
    TestClock clock;
    ScheduleEditor editor{state, window, surface, clock};

    EditorFixture() {
        ::mkdir("data", 0777);
        state.scheduleListPath = "data\\schedule.lst";
        state.MODE = kModeIta2;
        clock.setLocal(2026, 12, 9, 12, 0, 0);
    }

    void writeData(const std::string& name, const std::string& bytes) { WriteBinaryFile("data/" + name, bytes); }
    void writeSchedule(const std::string& bytes) { writeData("schedule.lst", bytes); }
    std::string schedule() { return ReadBinaryFile("data/schedule.lst"); }
    std::string workCopy() { return ReadBinaryFile("data/schedule.tmp"); }
    std::vector<std::string> entries() { return window.list(EditorId::EntryList); }

    // The first showing of the window.
    void open() { editor.OnShownOrHidden(); }
    void select(int index) {
        window.listSetCurrent(EditorId::EntryList, index);
        window.listSetSelected(EditorId::EntryList, index, true);
    }
    void setAutoTime(bool on) {
        window.checkMenuItem(EditorId::AutoTime, on);
        editor.OnAutoTime();
    }
    void type(const std::string& date, const std::string& time, const std::string& name) {
        window.setText(EditorId::Date, date);
        window.setText(EditorId::Time, time);
        window.setText(EditorId::FileChoice, name);
    }
};
