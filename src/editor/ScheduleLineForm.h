#pragma once
// One schedule entry in the editor's two forms: the display line of its list
// (name column with marker, size, sending time, shown or computed start) and
// the schedule file's line that is written back from it. Pure text work.

#include <ctime>
#include <optional>
#include <string>

// The name column of an entry and the size it shows: a missing or empty file
// marks the name, "CMD" for a script command (which counts as 1 byte) and
// "???" for anything else.
struct ListedName {
    std::string column;
    long long size = 0;
};
ListedName MarkName(const std::string& name, long long fileSize, bool timed);

// Minutes and seconds as "%4d:%02d"; empty for 0.
std::string FormatDuration(long long seconds);

// Date and time as the schedule file wrote them, the letter t after the time.
std::string TimedDisplayLine(const std::string& date, const std::string& time, const ListedName& name,
                             const std::string& duration);
// 22 blanks where the start would be.
std::string UntimedDisplayLine(const ListedName& name, const std::string& duration);
// The computed start in local time.
std::string StartedDisplayLine(std::time_t start, const ListedName& name, const std::string& duration);

// The schedule file's line (with its line feed) for a display line: a line
// that begins with a blank is an untimed name; a time marked with t keeps
// date, time and name; any other line is untimed, shown with its start.
std::string ScheduleFileLine(const std::string& displayLine);

// An untimed entry inserted with a start shown.
std::string StartedEntry(std::time_t start, const std::string& name);
// An entry typed as Date, Time and name: timed when the date is MM/DD/YYYY
// and date and time read as a time tag, untimed when both are empty;
// nothing for anything else, which the schedule could not keep.
std::optional<std::string> TypedEntry(const std::string& date, const std::string& time, const std::string& name);
