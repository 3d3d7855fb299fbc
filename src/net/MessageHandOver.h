#pragma once
// A stored message handed from its SMTP session to the transmit queue: the
// window thread lists it in schedule_temp.lst and adds it as Add File does,
// while the session waits; the listing reaches the disk later, from the
// session (SyncListing), so that sessions handing over together share one
// sync. A message that cannot be listed is removed, and its client told to
// try again.

#include <string>

class EventLog;
class MessageQueueing;
class WindowThreadCall;

class MessageHandOver {
public:
    MessageHandOver(EventLog& log, WindowThreadCall& windowCall, MessageQueueing& messages)
        : log_(log), windowCall_(windowCall), messages_(messages) {}

    // False, with the file at `path` removed, when it was not queued.
    bool Queue(const std::string& path, const std::string& name);
    bool SyncListing();

private:
    EventLog& log_;
    WindowThreadCall& windowCall_;
    MessageQueueing& messages_;
};
