#pragma once
// StoreDataMessage: an SMTP transfer received into its spool (MailSpool),
// read as mail, written as the station's message file in the data folder
// (MessageFiles), named after its subject or the moment it came, screened
// (MessageScreening), and then routed: handed to the queue
// (MessageHandOver), held for moderation or set aside. Runs on SMTP session
// threads, any number at once: naming, screening and the start of the
// hand-over are taken one message at a time, so two messages never take the
// same name, a queued file is never replaced, and the queue takes them in
// that order.

#include <mutex>
#include <optional>
#include <string>

#include "net/MessageFiles.h"
#include "net/MessageHandOver.h"
#include "net/NetLimits.h"
#include "platform/Clock.h"

class EventLog;
class MessageQueueing;
class MessageScreening;
class SessionSocket;
struct ProgramState;

namespace StoreResult {
constexpr int Queued = 0;
constexpr int Held = 1;
constexpr int NoStorage = -1;
constexpr int ReceiveFailed = -2;
constexpr int Closed = -3;
}  // namespace StoreResult

class MessageStore {
public:
    struct Parts {
        ProgramState& state;
        EventLog& log;
        const Clock& clock;
        MessageScreening& screening;
        WindowThreadCall& windowCall;
        MessageQueueing& messages;
        const NetLimits& limits;
    };

    explicit MessageStore(const Parts& parts)
        : p_(parts), files_(parts.state, parts.log), handOver_(parts.log, parts.windowCall, parts.messages) {}

    // The result code for the SMTP reply; `name` gets the file's name
    // without its folder, as queued or set aside.
    int StoreDataMessage(SessionSocket& socket, std::string& name);
    // False, with a log line, when the data folder (its set-aside folders
    // included) holds more than the operator allows.
    bool HasRoom();

private:
    // A message that passed is posted to the queue; `handing` is then its ticket.
    int nameScreenAndRoute(std::string& path, std::string& name, const std::optional<std::string>& subject,
                           std::optional<MessageHandOver::Ticket>& handing);
    bool finishHandOver(const MessageHandOver::Ticket& ticket);
    // `path` follows the file.
    void setAside(std::string& path, const std::string& name, const char* folder);
    bool putOnDisk(const std::string& path, bool listed);

    Parts p_;
    MessageFiles files_;
    MessageHandOver handOver_;
    std::mutex routeLock_;
};
