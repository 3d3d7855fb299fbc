#include "net/MessageStore.h"

#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "net/MessageComposer.h"
#include "net/MessageQueueing.h"
#include "net/MessageScreening.h"
#include "net/MimeMessage.h"
#include "net/SessionSocket.h"
#include "net/SmtpDataDecoder.h"
#include "net/WindowThreadCall.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace {

constexpr int kChunkBytes = 512;

enum SpoolOutcome { kEndSeen = 1 };

constexpr const char kSpoolPattern[] = "data_XXXXXX.tmp";

// The raw bytes of one transfer, in a file of its own in the working
// directory, removed when the transfer ends whatever its outcome.
class SpoolFile {
public:
    SpoolFile() {
        char pattern[sizeof kSpoolPattern];
        std::memcpy(pattern, kSpoolPattern, sizeof pattern);
        fd_ = ::mkstemps(pattern, 4);
        if (fd_ >= 0) path_ = pattern;
    }
    ~SpoolFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    bool finish() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_ = -1;
    std::string path_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

int MessageStore::StoreDataMessage(SessionSocket& socket, std::string& name) {
    Clock::TimePoint started = p_.clock.now();
    name = MessageFiles::DateTimeName(started);
    std::string path = p_.state.KOVADataPath.get() + name;

    SpoolFile spoolFile;
    if (spoolFile.fd() < 0) return StoreResult::NoStorage;
    int outcome = spool(socket, spoolFile.fd());
    if (!spoolFile.finish() && outcome == kEndSeen) {
        p_.log.write("Unable to write temp data file");
        return StoreResult::NoStorage;
    }
    if (outcome == StoreResult::ReceiveFailed || outcome == StoreResult::Closed) {
        char line[EventLog::kMaxMessage + 1];
        std::snprintf(line, sizeof line, "451 Log file \"%s\" failed to end in DOT\n\r", path.c_str());
        p_.log.write(line);
        socket.send(line);
    }
    if (outcome != kEndSeen) return outcome;

    std::string received;
    if (!ReadTextFile(spoolFile.path(), received)) {
        p_.log.write("Unable to read temp data file");
        return StoreResult::NoStorage;
    }
    MailText mail = ReadMailText(received);
    received.clear();
    for (const std::string& part : mail.dropped) p_.log.writef("StoreDataMessage : attachment %s not aired", part.c_str());
    ComposedMessage composed = ComposeMessageFile(mail.text, p_.state.KOVAAutoLine72);
    if (!files_.WriteNew(started, composed.text, path, name)) return StoreResult::NoStorage;

    std::lock_guard<std::mutex> oneAtATime(routeLock_);
    return nameScreenAndRoute(path, name, composed.subject);
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

// Only a transfer cut by the end of the process leaves its spool file; it
// never got its reply, so nothing of it is kept.
void MessageStore::RemoveLeftoverSpoolFiles() {
    std::string pattern = kSpoolPattern;
    std::replace(pattern.begin(), pattern.end(), 'X', '?');
    glob_t found{};
    if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) {
            const char* path = found.gl_pathv[i];
            if (RemoveFile(path)) p_.log.writef("Removed %s, left by a transfer that never ended", path);
        }
    }
    ::globfree(&found);
}

// kEndSeen, or the result code that ends the transfer.
int MessageStore::spool(SessionSocket& socket, int spoolFile) {
    char buffer[kChunkBytes + 1];
    SmtpDataDecoder decoder;
    std::string bytes;
    std::size_t total = 0;
    for (;;) {
        int received = socket.WaitReceiveSmtp(buffer, kChunkBytes);
        if (received < 0) return StoreResult::ReceiveFailed;
        if (received == 0) {
            p_.log.write("Socket Unexpectedly Closed while Storing Temp Data File");
            return StoreResult::Closed;
        }
        bytes.clear();
        bool ended = decoder.feed(std::string_view(buffer, static_cast<std::size_t>(received)), bytes);
        total += bytes.size();
        if (total > p_.limits.maxMessageBytes) {
            p_.log.writef("Message larger than %zu bytes refused", p_.limits.maxMessageBytes);
            return StoreResult::NoStorage;
        }
        if (!writeAll(spoolFile, bytes)) {
            p_.log.write("Unable to write temp data file");
            return StoreResult::NoStorage;
        }
        if (ended) return kEndSeen;
    }
}

int MessageStore::nameScreenAndRoute(std::string& path, std::string& name, const std::optional<std::string>& subject) {
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
    // The reply promises the message under its name, not only its bytes.
    if (!files_.Sync(p_.state.KOVADataPath.get())) {
        RemoveFile(path);
        return StoreResult::NoStorage;
    }
    return queue(path, name);
}

// Nothing that was set aside before under the same name survives; nothing else is replaced.
void MessageStore::setAside(const std::string& path, const std::string& name, const char* folder) {
    std::string target = p_.state.KOVADataPath.get() + folder + "\\" + name;
    if (FileExists(target)) RemoveFile(target);
    p_.log.writef("Warning: File \"%s\" moved to %s directory", name.c_str(), folder);
    if (!MoveWithoutReplace(path, target)) p_.log.write("ERROR - Moving of file failed");
    else files_.Sync(p_.state.KOVADataPath.get() + folder);
}

// Stored means listed for the next start as well: a message the station
// could not list or queue is removed, and the client told to try again.
int MessageStore::queue(const std::string& path, const std::string& name) {
    p_.log.writef("StoreDataMessage : \"%s\" submitted to queue", path.c_str());
    // The call runs to its end before run() returns, or never runs.
    bool queued = false;
    if (!p_.windowCall.run([this, name, &queued] { queued = p_.messages.QueueStoredMessage(name); }))
        p_.log.writef("StoreDataMessage : \"%s\" removed and refused, the station is stopping", name.c_str());
    if (queued) return StoreResult::Queued;
    RemoveFile(path);
    return StoreResult::NoStorage;
}
