#pragma once
// Folder listings as the original platform gave them: a pattern such as
// "data/*.*" or "data\\*.txt", names matched without regard to case ("*.*"
// matches every name, dotted or not), and each entry's last-write time in
// Windows file-time units (100 ns since 1601) for the newest-first sort keys.

#include <cstdint>
#include <string>
#include <vector>

struct FolderEntry {
    std::string name;
    uint64_t fileTime = 0;
    bool isFolder = false;
};

// Entries of the pattern's folder whose names match, in the order the folder
// gives them ("." and ".." included, as there). Empty when it cannot be listed.
std::vector<FolderEntry> ListFolder(const std::string& pattern);
// The same, false (errno set) when the folder cannot be listed.
bool ListFolder(const std::string& pattern, std::vector<FolderEntry>& entries);

bool MatchesPattern(const std::string& name, const std::string& pattern);
