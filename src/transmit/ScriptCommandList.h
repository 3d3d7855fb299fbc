#pragma once
// The help lines of the script commands, shown at the end of the file box
// (the first 34), of the About box and of the schedule editor's file list
// (34 + 2). Line 12 is the station's own identification line.

#include <string>
#include <vector>

struct ProgramState;

constexpr int kScriptListShown = 34;
constexpr int kScriptListExtra = 2;
constexpr int kScriptListLines = 54;
constexpr int kCwIdScriptLineIndex = 12;

// The 54 lines, line 12 taken from cwIdScriptLine once start-up has built it.
std::vector<std::string> ScriptCommandLines(const ProgramState& state);
