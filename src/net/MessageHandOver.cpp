#include "net/MessageHandOver.h"

#include "app/EventLog.h"
#include "net/MessageQueueing.h"
#include "net/WindowThreadCall.h"
#include "platform/FileSystem.h"

bool MessageHandOver::Queue(const std::string& path, const std::string& name) {
    log_.writef("StoreDataMessage : \"%s\" submitted to queue", path.c_str());
    // The call runs to its end before run() returns, or never runs.
    bool queued = false;
    if (!windowCall_.run([this, name, &queued] { queued = messages_.QueueStoredMessage(name, false); }))
        log_.writef("StoreDataMessage : \"%s\" removed and refused, the station is stopping", name.c_str());
    if (!queued) RemoveFile(path);
    return queued;
}

bool MessageHandOver::SyncListing() { return messages_.SyncList(); }
