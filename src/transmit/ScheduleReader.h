#pragma once
// Fills the transmit queue from the schedule lists: schedule_temp.lst (the
// messages received by mail) and schedule.lst (the standing schedule).
// Untimed entries get time tags estimated from their files' sizes at the
// speed of the last baud line seen. Also appends to schedule_temp.lst.
// Window thread (the append also from session threads).

#include <cstdint>
#include <optional>
#include <string>

class Clock;
class Controls;
class EventLog;
class TransmitQueue;
struct ProgramState;

class ScheduleReader {
public:
    static constexpr std::size_t kLineBuffer = 255;
    static constexpr int kFirstEntryDelaySeconds = 10;

    ScheduleReader(ProgramState& state, EventLog& log, Controls& window, TransmitQueue& queue, const Clock& clock)
        : state_(state), log_(log), window_(window), queue_(queue), clock_(clock) {}

    void GetSchedule(const std::string& path);
    // False when the line could not be written whole; what it left is taken
    // off again, so the next line does not run on from a broken one. With
    // `sync` the line is on the disk when it returns; without, a later
    // SyncScheduleTemp puts it there (one sync for the lines of many).
    bool AppendScheduleTemp(const std::string& line, bool sync = true);
    // Any thread.
    bool SyncScheduleTemp() const;
    // 32769 "Reload Queue": empties the queue and reads both lists (unless autostart).
    void OnReload();

    // Why the reader would not take a line of a list as written (a line of
    // one word names a file or script command, one of three gives its date,
    // time and file; a blank line is passed over), or nothing when it would.
    static std::optional<std::string> LineProblem(const std::string& line);

    // Seconds per character that the estimates assume in `mode` at `baud`.
    static float CharTimeFor(int mode, float baud);

private:
    void readLine(std::string line, int64_t now, long long& lastSize);
    void noteBaudLine(const std::string& firstWord);

    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    TransmitQueue& queue_;
    const Clock& clock_;
};
