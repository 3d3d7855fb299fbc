#pragma once
// The editor's file box: the data folder's entries that match the Filter
// (newest first when Sort-By-Date is checked), then the script-command help
// lines. Refilled when dropped down, after a list load, after a text is
// saved, and by Insert with no name. Window thread.

#include <string>

class Controls;
struct ProgramState;

class FileChoices {
public:
    static constexpr const char* kNoFilesText = "$ ***** No Files Found *****";

    FileChoices(const ProgramState& state, Controls& window) : state_(state), window_(window) {}

    void RebuildFileChoices();

private:
    const ProgramState& state_;
    Controls& window_;
};
