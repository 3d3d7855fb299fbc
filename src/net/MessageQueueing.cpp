#include "net/MessageQueueing.h"

#include <cerrno>
#include <cstring>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "transmit/ScheduleReader.h"
#include "transmit/SessionControl.h"
#include "transmit/TransmitQueue.h"

bool MessageQueueing::QueueStoredMessage(const std::string& name, bool syncList) {
    if (!state_.KOVAAutoStart && !schedule_.AppendScheduleTemp(name, syncList)) return false;
    window_.setText(Id::FileBox, name);
    window_.listSetCurrent(Id::QueueList, 0);
    queue_.AddFile();
    if (state_.schedulerEnableSetting && state_.KOVASchedulerStartEnabled && !state_.KOVAAutoStart)
        session_.CmEnable();
    return true;
}

bool MessageQueueing::SyncList() const { return state_.KOVAAutoStart || schedule_.SyncScheduleTemp(); }

void MessageQueueing::SweepApprovedFolder() {
    std::string dataPath = state_.KOVADataPath.get();
    std::string pattern = dataPath + "approvedmoderatedwords\\*";
    std::vector<FolderEntry> entries;
    if (!ListFolder(pattern, entries)) {
        log_.writef("Failed to open directory %s. Error: %s", pattern.c_str(), std::strerror(errno));
        return;
    }
    for (const FolderEntry& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        log_.writef("Moving %s to queue", entry.name.c_str());
        std::string from = dataPath + "approvedmoderatedwords\\" + entry.name;
        std::string to = dataPath + entry.name;
        if (MoveWithoutReplace(from, to)) {
            log_.writef("Moved %s -> %s", from.c_str(), to.c_str());
            // Back for the next sweep when it cannot be listed.
            if (!QueueStoredMessage(entry.name) && !MoveWithoutReplace(to, from))
                log_.writef("Failed to move %s back Error: %s", to.c_str(), std::strerror(errno));
        } else {
            const char* reason = std::strerror(errno);
            log_.writef("Failed to move %s Error: %s", from.c_str(), reason);
        }
    }
}
