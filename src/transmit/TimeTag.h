#pragma once
// Queue entries and their time tags: "%02d/%02d/%4d %02d:%02d:%02d %s", month,
// day, year and time in local time, then a file name or a '$' script command.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// The calendar time of a text beginning "%d/%d/%d %d:%d:%d" in local time;
// nothing when the text does not start with a valid date and time. An empty
// text is time 0.
std::optional<int64_t> ParseTimeTag(const std::string& text);

std::string FormatQueueEntry(std::time_t when, const std::string& name);
