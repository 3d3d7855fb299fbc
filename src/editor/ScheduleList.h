#pragma once
// The editor's list of schedule entries: LoadList reads a schedule file into
// the display form (sizes, sending times at the list's own baud lines,
// computed starts when Auto Time is checked), SaveList writes the list back
// in the schedule file's form. Window thread.

#include <cstdint>
#include <string>
#include <vector>

class Clock;
class Controls;
class FileChoices;
struct ProgramState;

class ScheduleList {
public:
    static constexpr int kFirstEntryDelaySeconds = 10;
    // Entries that started this long ago or earlier are no longer listed.
    static constexpr int64_t kListedAgeSeconds = 172800;

    ScheduleList(ProgramState& state, Controls& window, const Clock& clock, FileChoices& choices)
        : state_(state), window_(window), clock_(clock), choices_(choices) {}

    void LoadList(const std::string& path);
    void SaveList(const std::string& path);

private:
    // The running start time and the size of the entry before, through one load.
    struct Reading {
        int64_t now = 0;
        int64_t start = 0;
        long long previousSize = 1;
        bool autoTime = false;
    };

    void loadLine(const std::string& line, Reading& reading);
    void noteListCommand(const std::string& name);
    void addUntimed(const std::string& name, const std::string& line, Reading& reading);
    void addTimed(const std::string& line, const std::vector<std::string>& words, Reading& reading);
    std::string durationOf(long long size) const;
    bool tooOld(int64_t start, const Reading& reading) const { return start <= reading.now - kListedAgeSeconds; }

    ProgramState& state_;
    Controls& window_;
    const Clock& clock_;
    FileChoices& choices_;
};
