#pragma once
// The station's log: every subsystem on every thread reports here. Each line
// is stamped with the local time, appended to the day's file log/YYYYMMDD.log
// (opened and closed per line, so it is on disk when the call returns) and
// shown at the bottom of the window's log list; under systemd it goes to the
// journal too (JournalMirror), even when the file cannot be opened. One
// writer at a time: the window thread keeps pumping its messages while it
// waits, so it never blocks; a session thread gives way until the line
// before its own is written.

#include <atomic>
#include <string>

#include "app/JournalMirror.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/EventPump.h"

struct ProgramState;

class EventLog {
public:
    static constexpr int kListLines = 500;
    static constexpr std::size_t kMaxMessage = 1012;

    EventLog(ProgramState& state, Controls& window, const Clock& clock, EventPump& pump)
        : state_(state), window_(window), clock_(clock), pump_(pump) {}

    void write(const std::string& message);
    void writef(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The text writef would write, for a caller that sends it elsewhere too.
    static std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

    // Test menu "View Log": today's file in the text editor, whether or not it exists.
    void ViewLog() const;
    std::string todaysFileName() const;

    static std::string FileNameFor(const std::tm& local);
    static std::string TimeTextFor(const std::tm& local);

private:
    void reportOpenFailure();
    void waitForTheOtherWriter();

    ProgramState& state_;
    Controls& window_;
    const Clock& clock_;
    EventPump& pump_;
    const JournalMirror journal_ = JournalMirror::ForStandardError();
    std::atomic<bool> failureBoxShown_{false};
};
