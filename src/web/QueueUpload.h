#pragma once
// A text file the operator sends from a browser: stored in the data folder
// as a message is (written whole and synced, named after the name given,
// never in place of a file the station frames or keys with), listed for the
// next start and queued as Add File queues it. Its text arrives as UTF-8 or
// Latin-1 and is stored in Latin-1 as mail is. Window thread.

#include <string>

#include "net/MessageFiles.h"

class Clock;
class EventLog;
class MessageQueueing;
struct ProgramState;

class QueueUpload {
public:
    static constexpr std::size_t kMaxBytes = 1024 * 1024;

    struct Outcome {
        int httpStatus;
        // The stored file's name, or what went wrong.
        std::string text;
    };

    QueueUpload(ProgramState& state, EventLog& log, const Clock& clock, MessageQueueing& messages)
        : state_(state), log_(log), clock_(clock), messages_(messages), files_(state, log) {}

    Outcome Store(const std::string& givenName, const std::string& bytes);

private:
    ProgramState& state_;
    EventLog& log_;
    const Clock& clock_;
    MessageQueueing& messages_;
    MessageFiles files_;
};
