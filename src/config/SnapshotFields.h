#pragma once
// The lines of Tarvik.cfg in their order, each with its label, how its value
// is written and how the first word read back is applied. Save writes every
// line; a restore reads them in the same order, so the order lives only here.

#include <functional>
#include <string>
#include <vector>

struct ProgramState;

struct SnapshotField {
    const char* label;
    // False for the one line whose label follows the value without a tab.
    bool tabbed;
    std::function<std::string()> value;
    // Empty for a line that is read and logged but not applied.
    std::function<void(const std::string& word)> apply;
};

std::vector<SnapshotField> SnapshotFields(ProgramState& state);

// "value padded to 15 characters, a tab, the label" and the line end.
std::string SnapshotLine(const SnapshotField& field);
