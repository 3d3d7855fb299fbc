#pragma once
// The standing schedule's text for the operator in a browser: read whole,
// and replaced whole once every line reads as the schedule reader reads it,
// in one step on the disk (a reader never sees half a list). Window thread.

#include <optional>
#include <string>

class EventLog;

class ScheduleText {
public:
    struct Problem {
        int line;
        std::string text;
    };

    explicit ScheduleText(EventLog& log) : log_(log) {}

    // The list as text (line feeds only); nothing when it cannot be read.
    std::optional<std::string> Read(const std::string& path) const;
    // The first line the reader would not take, with its number from 1.
    static std::optional<Problem> Check(const std::string& text);
    // False, with a log line and the old list in place, when it could not be written.
    bool Replace(const std::string& path, const std::string& text);

private:
    EventLog& log_;
};
