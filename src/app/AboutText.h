#pragma once
// The status text of the About box, line by line, as the station's state
// stands when the box opens.

#include <string>
#include <vector>

struct ProgramState;

std::vector<std::string> AboutStatusLines(const ProgramState& state);
