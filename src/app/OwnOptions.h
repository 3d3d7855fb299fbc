#pragma once
// The program's own arguments, looked at before Qt sees the command line, so
// they answer without a display: --version and --help print their text and
// the program exits. Qt's own arguments (-platform offscreen ...) are left to
// Qt; anything else is ignored, as it always was.

#include <optional>
#include <string>

// The text to print for the first own argument, or nothing: run the station.
std::optional<std::string> OwnOptionText(int argc, const char* const* argv);
