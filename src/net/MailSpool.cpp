#include "net/MailSpool.h"

#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/EventLog.h"
#include "net/MessageStore.h"
#include "net/NetLimits.h"
#include "net/SessionSocket.h"
#include "net/SmtpDataDecoder.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace {

constexpr int kChunkBytes = 512;
constexpr const char kSpoolPattern[] = "data_XXXXXX.tmp";

}  // namespace

MailSpool::MailSpool(EventLog& log, const NetLimits& limits) : log_(log), limits_(limits) {}

MailSpool::~MailSpool() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
}

int MailSpool::Receive(SessionSocket& socket) {
    char buffer[kChunkBytes + 1];
    SmtpDataDecoder decoder;
    std::string bytes;
    std::size_t total = 0;
    for (;;) {
        int received = socket.WaitReceiveSmtp(buffer, kChunkBytes);
        if (received < 0) return StoreResult::ReceiveFailed;
        if (received == 0) {
            log_.write("Socket Unexpectedly Closed while Storing Temp Data File");
            return StoreResult::Closed;
        }
        bytes.clear();
        bool ended = decoder.feed(std::string_view(buffer, static_cast<std::size_t>(received)), bytes);
        total += bytes.size();
        if (total > limits_.maxMessageBytes) {
            log_.writef("Message larger than %zu bytes refused", limits_.maxMessageBytes);
            return StoreResult::NoStorage;
        }
        if (!append(bytes)) {
            log_.write("Unable to write temp data file");
            return StoreResult::NoStorage;
        }
        if (ended) return kReceived;
    }
}

bool MailSpool::append(std::string_view bytes) {
    if (fd_ < 0 && held_.size() + bytes.size() <= kHeldInMemoryBytes) {
        held_.append(bytes);
        return true;
    }
    return (fd_ >= 0 || spill()) && write(bytes);
}

// The file takes what was held so far; later bytes follow it there.
bool MailSpool::spill() {
    char pattern[sizeof kSpoolPattern];
    std::memcpy(pattern, kSpoolPattern, sizeof pattern);
    fd_ = ::mkstemps(pattern, 4);
    if (fd_ < 0) return false;
    path_ = pattern;
    const bool written = write(held_);
    held_.clear();
    held_.shrink_to_fit();
    return written;
}

bool MailSpool::write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// As text, like a message file read back: each CR LF one line feed.
bool MailSpool::Finish(std::string& received) {
    if (fd_ < 0) {
        received = FoldLineEnds(std::move(held_));
        return true;
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        log_.write("Unable to write temp data file");
        return false;
    }
    if (!ReadTextFile(path_, received)) {
        log_.write("Unable to read temp data file");
        return false;
    }
    return true;
}

// Only a transfer cut by the end of the process leaves its spool file; it
// never got its reply, so nothing of it is kept.
void MailSpool::RemoveLeftovers(EventLog& log) {
    std::string pattern = kSpoolPattern;
    std::replace(pattern.begin(), pattern.end(), 'X', '?');
    glob_t found{};
    if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) {
            const char* path = found.gl_pathv[i];
            if (RemoveFile(path)) log.writef("Removed %s, left by a transfer that never ended", path);
        }
    }
    ::globfree(&found);
}
