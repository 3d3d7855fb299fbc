#include "platform/FolderNames.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "platform/AsciiText.h"
#include "platform/PathMap.h"

namespace {

constexpr uint32_t kNamesChange = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

}  // namespace

FolderNames::~FolderNames() { forget(); }

std::string FolderNames::Spelling(const std::string& folder, const std::string& name) {
    std::lock_guard<std::mutex> hold(lock_);
    if (notes_ < 0 || folder != folder_) follow(folder);
    if (notes_ >= 0) takeNotes();
    // Without a watch nothing read now would stay true: matched for this answer alone.
    if (notes_ < 0) {
        const std::string resolved = ResolvePath(folder + (folder.empty() || folder.back() == '/' ? "" : "/") + name);
        return resolved.substr(resolved.rfind('/') + 1);
    }
    auto found = names_.find(AsciiUpper(name));
    return found == names_.end() || found->second.count(name) > 0 ? name : *found->second.begin();
}

// The watch first, then the listing: a name made between the two is in both,
// and taking it twice changes nothing.
void FolderNames::follow(const std::string& folder) {
    forget();
    folder_ = folder;
    watchError_ = 0;
    notes_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notes_ < 0 || ::inotify_add_watch(notes_, folder.c_str(), kNamesChange | kFolderGone | IN_ONLYDIR) < 0) {
        const int error = errno;
        forget();
        // A folder that is not there is no fault of the watch.
        watchError_ = error == ENOENT || error == ENOTDIR ? 0 : error;
        return;
    }
    // A listing that failed would answer "no such name" until the folder changed.
    if (!readFolder()) forget();
}

void FolderNames::forget() {
    if (notes_ >= 0) ::close(notes_);
    notes_ = -1;
    names_.clear();
}

bool FolderNames::readFolder() {
    names_.clear();
    DIR* dir = ::opendir(folder_.empty() ? "." : folder_.c_str());
    if (dir == nullptr) return false;
    while (dirent* entry = ::readdir(dir)) add(entry->d_name);
    ::closedir(dir);
    return true;
}

int FolderNames::WatchError() {
    std::lock_guard<std::mutex> hold(lock_);
    return watchError_;
}

// In the order they happened: a name's last note says whether it is there.
void FolderNames::takeNotes() {
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        ssize_t got = ::read(notes_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            const auto* note = reinterpret_cast<const inotify_event*>(buffer + at);
            at += sizeof(inotify_event) + note->len;
            if (note->mask & kFolderGone) {
                const std::string folder = folder_;
                follow(folder);
                return;
            }
            if (note->mask & IN_Q_OVERFLOW) {
                if (!readFolder()) return forget();
            } else if (note->mask & (IN_CREATE | IN_MOVED_TO)) {
                add(note->name);
            } else if (note->mask & (IN_DELETE | IN_MOVED_FROM)) {
                remove(note->name);
            }
        }
    }
}

void FolderNames::add(const std::string& name) { names_[AsciiUpper(name)].insert(name); }

void FolderNames::remove(const std::string& name) {
    auto found = names_.find(AsciiUpper(name));
    if (found == names_.end()) return;
    found->second.erase(name);
    if (found->second.empty()) names_.erase(found);
}
