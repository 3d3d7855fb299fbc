#pragma once
// The texts of the date and time caret macros (^D ^L ^T ^U ^W), written once
// for the air (ExpandMacro) and for the chat echo. Each text is taken from one
// reading of the clock, in English whatever the locale. Safe on any thread.

#include <string>
#include <string_view>

class Clock;

// Each text is cut to what an 80-character buffer holds.
constexpr std::size_t kMacroTextBuffer = 80;

// The text of macro `letter` (either case); false for any other letter.
//   D  long local date        "Tuesday, May 12, 2001"
//   L  local date             "May 12, 2001"
//   T  local hours:minutes and the zone's initials   "14:05(CET)"
//   U  UTC hours:minutes      "12:05(UTC)"
//   W  local weekday          "Tuesday"
bool MacroText(int letter, const Clock& clock, std::string& text);

// The ^T suffix of a zone name: "(%c%c%c)" with the first letters of its
// first three words. Two words give their two initials, a single word (the
// abbreviations CET, UTC) its first three letters; no words give nothing.
std::string ZoneInitials(std::string_view zoneName);
