#pragma once
// The day's log file read from a line on: what the browser fetches and what
// is pushed to it as the log grows. Lines are counted from 1 in the day's
// file; "next" is the count read so far, to ask for the lines after it.

#include <string>
#include <vector>

struct LogLines {
    std::vector<std::string> lines;
    long long next = 0;
};

// The lines after line `after`, at most the newest `keep` of them; a file
// that is not there yet has none.
LogLines ReadLogAfter(const std::string& path, long long after, std::size_t keep);

// Follows one file at a time from where it was last read, so a long day's
// log is not read again on every look; a new day's file starts it over.
class LogFollower {
public:
    // The lines completed since the last call: none on the first, which
    // only finds the end; all of a new day's file.
    LogLines ReadNew(const std::string& path);

private:
    std::string path_;
    long long offset_ = 0;
    long long count_ = 0;
};
