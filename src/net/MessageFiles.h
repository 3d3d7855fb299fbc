#pragma once
// The data folder's message files: a new one written whole under a date-time
// name that no other holds, the name a subject gives it (never one of the
// files the station frames and keys with), and its step into that name. Mail
// and the files an operator sends from a browser are stored so.

#include <atomic>
#include <string>

#include "platform/Clock.h"
#include "platform/FolderNames.h"

class EventLog;
struct ProgramState;

class MessageFiles {
public:
    MessageFiles(ProgramState& state, EventLog& log) : state_(state), log_(log) {}

    // Written (and with `sync` on the disk) under the first free date-time
    // name from `started` on; false, with nothing left on disk, when it could
    // not be written whole.
    bool WriteNew(Clock::TimePoint started, const std::string& text, std::string& path, std::string& name,
                  bool sync = true);
    // The subject's file name, spelt as a file of the data folder already
    // spells it in another letter case (the queue finds files so); empty when
    // the date-time name stays.
    std::string NameAfterSubject(const std::string& subject);
    // Moves the file at `path` to `name` (as NameAfterSubject spells it) in
    // the data folder in one step, replacing an older file of that name;
    // `path` follows it.
    bool TakeName(std::string& path, const std::string& name);
    // False, with a log line, when the folder's entries could not be synced.
    bool Sync(const std::string& folder);

    // "E_20240315_142501.042.txt": local date, time and milliseconds.
    static std::string DateTimeName(Clock::TimePoint at);
    static bool IsStationFile(const std::string& name);

private:
    ProgramState& state_;
    EventLog& log_;
    // The data folder holds every message the station ever took: read once.
    FolderNames dataNames_;
    std::atomic<bool> unwatchedTold_ = false;
};
