#include "platform/PathMap.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char ch : path) {
        if (ch == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.push_back(ch);
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// The entry of `folder` whose name equals `name` ignoring case, or `name`.
std::string matchInFolder(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return name;
    std::string found = name;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder == "/") return "/" + name;
    return folder + "/" + name;
}

}  // namespace

std::string MapSlashes(const std::string& built) {
    std::string mapped = built;
    std::replace(mapped.begin(), mapped.end(), '\\', '/');
    return mapped;
}

std::string ResolveFolderOf(const std::string& built) {
    std::string mapped = MapSlashes(built);
    std::size_t slash = mapped.rfind('/');
    if (slash == std::string::npos) return mapped;
    return ResolvePath(mapped.substr(0, slash + 1)) + mapped.substr(slash + 1);
}

std::string ResolvePath(const std::string& built) {
    std::string mapped = MapSlashes(built);
    if (mapped.empty() || exists(mapped)) return mapped;
    std::string resolved = mapped.front() == '/' ? "/" : "";
    bool stillExisting = true;
    for (const std::string& part : components(mapped)) {
        if (stillExisting && part != "." && part != "..") {
            std::string exact = join(resolved, part);
            resolved = exists(exact) ? exact : join(resolved, matchInFolder(resolved, part));
            stillExisting = exists(resolved);
        } else {
            resolved = join(resolved, part);
        }
    }
    if (mapped.back() == '/') resolved.push_back('/');
    return resolved;
}
