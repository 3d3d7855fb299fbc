#include "app/JournalMirror.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

bool isStream(int fd, const char* journalStream) {
    if (journalStream == nullptr) return false;
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    char rest = 0;
    if (std::sscanf(journalStream, "%" SCNuMAX ":%" SCNuMAX "%c", &device, &inode, &rest) != 2) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0) return false;
    return status.st_dev == device && status.st_ino == inode;
}

}  // namespace

JournalMirror JournalMirror::ForStandardError() {
    return JournalMirror(STDERR_FILENO, std::getenv("JOURNAL_STREAM"));
}

JournalMirror::JournalMirror(int fd, const char* journalStream) {
    if (isStream(fd, journalStream)) fd_ = fd;
}

// A journal that stops taking lines costs the mirror those lines only: the
// day's file has them all.
void JournalMirror::write(const std::string& line) const {
    if (!active()) return;
    std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(fd_, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}
