#include "platform/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>

#include "platform/PathMap.h"

namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr uint64_t kEpochDifference = 11644473600ULL;

uint64_t windowsFileTime(const struct timespec& modified) {
    return (static_cast<uint64_t>(modified.tv_sec) + kEpochDifference) * 10000000ULL +
           static_cast<uint64_t>(modified.tv_nsec) / 100;
}

bool matchFrom(const char* name, const char* pattern) {
    for (; *pattern != '\0'; ++pattern, ++name) {
        if (*pattern == '*') {
            while (*pattern == '*') ++pattern;
            if (*pattern == '\0') return true;
            for (; *name != '\0'; ++name)
                if (matchFrom(name, pattern)) return true;
            return false;
        }
        if (*name == '\0') return false;
        if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) !=
                                   std::tolower(static_cast<unsigned char>(*name)))
            return false;
    }
    return *name == '\0';
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*") return true;
    return matchFrom(name.c_str(), pattern.c_str());
}

std::vector<FolderEntry> ListFolder(const std::string& pattern) {
    std::vector<FolderEntry> entries;
    ListFolder(pattern, entries);
    return entries;
}

bool ListFolder(const std::string& pattern, std::vector<FolderEntry>& entries) {
    std::string mapped = MapSlashes(pattern);
    std::size_t slash = mapped.rfind('/');
    std::string folder = slash == std::string::npos ? "." : mapped.substr(0, slash);
    std::string namePattern = slash == std::string::npos ? mapped : mapped.substr(slash + 1);
    folder = ResolvePath(folder.empty() ? "/" : folder);

    entries.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return false;
    while (dirent* item = ::readdir(dir)) {
        std::string name = item->d_name;
        if (!MatchesPattern(name, namePattern)) continue;
        struct stat info {};
        if (::stat((folder + "/" + name).c_str(), &info) != 0) continue;
        entries.push_back({name, windowsFileTime(info.st_mtim), S_ISDIR(info.st_mode)});
    }
    ::closedir(dir);
    return true;
}
