#pragma once
// A stored message handed from its SMTP session to the transmit queue: the
// window thread lists it in schedule_temp.lst and adds it as Add File does.
// The hand-over is posted while the messages are taken one at a time, so
// they reach the queue in that order, and waited for after, so that the
// next message need not wait for the window. The listing reaches the disk
// later, from the session (SyncListing), so that sessions handing over
// together share one sync. A message that cannot be listed is withdrawn
// (its file removed), and its client told to try again.

#include <memory>
#include <string>

#include "net/WindowThreadCall.h"
#include "platform/FileSystem.h"

class EventLog;
class MessageQueueing;

class MessageHandOver {
public:
    struct Ticket {
        WindowThreadCall::Ticket call;
        // Set on the window thread before the call counts as run.
        std::shared_ptr<bool> queued;
        std::string path;
        std::string name;
        // The message's own file, which a later one of its name may replace meanwhile.
        FileId file;
    };

    MessageHandOver(EventLog& log, WindowThreadCall& windowCall, MessageQueueing& messages)
        : log_(log), windowCall_(windowCall), messages_(messages) {}

    Ticket Begin(const std::string& path, const std::string& name);
    // False when it was not queued.
    bool Finish(const Ticket& ticket);
    // Removes the message's file, unless another has taken its name.
    void Withdraw(const Ticket& ticket);
    bool SyncListing();

private:
    EventLog& log_;
    WindowThreadCall& windowCall_;
    MessageQueueing& messages_;
};
