#pragma once
// The names in one folder, matched without regard to letter case, without
// reading the folder for every question: read once, then kept current from
// the kernel's notes of each name made, removed or moved there (inotify),
// which are taken in before every answer, so a name made a moment before is
// known. Lost notes or a folder moved or removed make it read the folder
// again; without a watch each name is matched as any path is (ResolvePath).

#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

class FolderNames {
public:
    FolderNames() = default;
    ~FolderNames();
    FolderNames(const FolderNames&) = delete;
    FolderNames& operator=(const FolderNames&) = delete;

    // From any thread: the spelling of `name` in `folder` (a path the file
    // system takes), `name` itself when the folder has it so or has no such name.
    std::string Spelling(const std::string& folder, const std::string& name);
    // Why the folder is read for every question (the watch's errno: no
    // inotify instance or watch left); 0 when it is watched or is not there.
    int WatchError();

private:
    void follow(const std::string& folder);
    void forget();
    bool readFolder();
    void takeNotes();
    void add(const std::string& name);
    void remove(const std::string& name);

    std::mutex lock_;
    std::string folder_;
    int notes_ = -1;
    int watchError_ = 0;
    // Upper-cased name -> the spellings the folder holds.
    std::unordered_map<std::string, std::set<std::string>> names_;
};
