#include "platform/FileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/PathMap.h"

bool MakeFolder(const std::string& path) {
    std::string mapped = ResolvePath(path);
    while (mapped.size() > 1 && mapped.back() == '/') mapped.pop_back();
    return ::mkdir(mapped.c_str(), 0777) == 0;
}

bool MoveWithoutReplace(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, ResolvePath(from).c_str(), AT_FDCWD, ResolvePath(to).c_str(),
                       RENAME_NOREPLACE) == 0;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return ::rename(ResolvePath(from).c_str(), ResolvePath(to).c_str()) == 0;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(ResolvePath(path).c_str(), &info) == 0;
}

int OpenRegularFile(const std::string& path) {
    int fd = ::open(ResolvePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool IsReadableFile(const std::string& path) {
    int fd = OpenRegularFile(path);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

long long FileSize(const std::string& path) {
    struct stat info {};
    if (::stat(ResolvePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<long long>(info.st_size);
}

bool RemoveFile(const std::string& path) { return ::unlink(ResolvePath(path).c_str()) == 0; }

FileId IdOfFile(const std::string& path) {
    struct stat info {};
    if (::stat(ResolvePath(path).c_str(), &info) != 0) return {};
    return {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
}

long long FolderBytes(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    long long bytes = 0;
    for (fs::recursive_directory_iterator it(ResolvePath(path), error), end; !error && it != end; it.increment(error)) {
        // A file gone between listing and looking counts nothing.
        std::error_code gone;
        if (!it->is_regular_file(gone)) continue;
        std::uintmax_t size = it->file_size(gone);
        if (!gone) bytes += static_cast<long long>(size);
    }
    return bytes;
}

namespace {

bool syncOpened(const std::string& path, int flags) {
    int fd = ::open(ResolvePath(path).c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace

bool SyncFolder(const std::string& path) { return syncOpened(path, O_DIRECTORY); }

bool SyncFile(const std::string& path) { return syncOpened(path, 0); }
