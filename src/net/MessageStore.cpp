#include "net/MessageStore.h"

#include <cstdio>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "net/MailSpool.h"
#include "net/MessageComposer.h"
#include "net/MessageScreening.h"
#include "net/MimeMessage.h"
#include "net/SessionSocket.h"
#include "platform/FileSystem.h"

int MessageStore::StoreDataMessage(SessionSocket& socket, std::string& name) {
    Clock::TimePoint started = p_.clock.now();
    name = MessageFiles::DateTimeName(started);
    std::string path = p_.state.KOVADataPath.get() + name;

    MailSpool spool(p_.log, p_.limits);
    int outcome = spool.Receive(socket);
    if (outcome == StoreResult::ReceiveFailed || outcome == StoreResult::Closed) {
        char line[EventLog::kMaxMessage + 1];
        std::snprintf(line, sizeof line, "451 Log file \"%s\" failed to end in DOT\n\r", path.c_str());
        p_.log.write(line);
        socket.send(line);
    }
    if (outcome != MailSpool::kReceived) return outcome;

    std::string received;
    if (!spool.Finish(received)) return StoreResult::NoStorage;
    MailText mail = ReadMailText(received);
    received.clear();
    for (const std::string& part : mail.dropped) p_.log.writef("StoreDataMessage : attachment %s not aired", part.c_str());
    ComposedMessage composed = ComposeMessageFile(mail.text, p_.state.KOVAAutoLine72);
    if (!files_.WriteNew(started, composed.text, path, name, false)) return StoreResult::NoStorage;

    int routed = StoreResult::NoStorage;
    std::optional<MessageHandOver::Ticket> handing;
    {
        std::lock_guard<std::mutex> oneAtATime(routeLock_);
        routed = nameScreenAndRoute(path, name, composed.subject, handing);
    }
    if (handing && !finishHandOver(*handing)) return StoreResult::NoStorage;
    if (routed != StoreResult::NoStorage && !putOnDisk(path, routed == StoreResult::Queued))
        return StoreResult::NoStorage;
    return routed;
}

// The reply promises the message's bytes, its name in its folder and its
// listing: all three reach the disk here, outside the lock, so that sessions
// that stored at the same time share the disk's commits. A message that
// cannot is refused (one queued stays queued; the client's next try is then
// a duplicate and set aside).
bool MessageStore::putOnDisk(const std::string& path, bool listed) {
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    if (SyncFile(path) && files_.Sync(folder) && (!listed || handOver_.SyncListing())) return true;
    p_.log.writef("StoreDataMessage : \"%s\" could not be put on the disk: refused", path.c_str());
    return false;
}

bool MessageStore::HasRoom() {
    const long long limitMb = p_.state.KOVAMaxDataMB;
    if (limitMb <= 0) return true;
    const long long held = FolderBytes(p_.state.KOVADataPath.get());
    if (held <= limitMb * 1024 * 1024) return true;
    p_.log.writef("Data folder holds %lld MB, more than KOVAMaxDataMB %lld: mail refused", held / (1024 * 1024),
                  limitMb);
    return false;
}

int MessageStore::nameScreenAndRoute(std::string& path, std::string& name, const std::optional<std::string>& subject,
                                     std::optional<MessageHandOver::Ticket>& handing) {
    // The message stays under its date-time name until it has passed: a
    // message set aside never takes the place of a file of its subject name.
    const std::string dateTimeName = name;
    const std::string subjectName = p_.state.KOVAUseSubjectFileName && subject ? files_.NameAfterSubject(*subject) : "";
    // Screened under the name it would take: a duplicate of a queued file is
    // set aside, and the queued file stays as it is.
    if (!subjectName.empty()) name = subjectName;
    int rejected = p_.screening.CheckBadWords(path, name);
    if (rejected != ScreeningCode::Passed) {
        setAside(path, name, "badwords");
        return rejected;
    }
    // An auto-moderated word releases a message that a moderated word would hold.
    if (p_.screening.CheckModeratedWords(path, name) != ScreeningCode::Passed &&
        p_.screening.CheckAutoModeratedWords(path, name) == ScreeningCode::Passed) {
        setAside(path, name, "moderatedwords");
        return StoreResult::Held;
    }
    if (!subjectName.empty() && !files_.TakeName(path, subjectName)) name = dateTimeName;
    p_.screening.OnItsWay(name);
    handing = handOver_.Begin(path, name);
    return StoreResult::Queued;
}

// Outside the lock: the next message is named and screened meanwhile, and
// finds this one's name taken.
bool MessageStore::finishHandOver(const MessageHandOver::Ticket& ticket) {
    const bool queued = handOver_.Finish(ticket);
    p_.screening.Arrived(ticket.name);
    if (!queued) {
        // Under the lock: a later message of the name cannot take its place between the look and the removal.
        std::lock_guard<std::mutex> oneAtATime(routeLock_);
        handOver_.Withdraw(ticket);
    }
    return queued;
}

// Nothing that was set aside before under the same name survives; nothing else is replaced.
void MessageStore::setAside(std::string& path, const std::string& name, const char* folder) {
    std::string target = p_.state.KOVADataPath.get() + folder + "\\" + name;
    if (FileExists(target)) RemoveFile(target);
    p_.log.writef("Warning: File \"%s\" moved to %s directory", name.c_str(), folder);
    if (!MoveWithoutReplace(path, target))
        p_.log.write("ERROR - Moving of file failed");
    else
        path = target;
}
