#include "net/MessageHandOver.h"

#include "app/EventLog.h"
#include "net/MessageQueueing.h"
#include "platform/FileSystem.h"

MessageHandOver::Ticket MessageHandOver::Begin(const std::string& path, const std::string& name) {
    log_.writef("StoreDataMessage : \"%s\" submitted to queue", path.c_str());
    auto queued = std::make_shared<bool>(false);
    auto call = windowCall_.post([this, name, queued] { *queued = messages_.QueueStoredMessage(name, false); });
    return {call, queued, path, name, IdOfFile(path)};
}

// The call runs to its end before the wait returns, or never runs.
bool MessageHandOver::Finish(const Ticket& ticket) {
    if (windowCall_.wait(ticket.call)) return *ticket.queued;
    log_.writef("StoreDataMessage : \"%s\" removed and refused, the station is stopping", ticket.name.c_str());
    return false;
}

void MessageHandOver::Withdraw(const Ticket& ticket) {
    if (IdOfFile(ticket.path) == ticket.file) RemoveFile(ticket.path);
}

bool MessageHandOver::SyncListing() { return messages_.SyncList(); }
