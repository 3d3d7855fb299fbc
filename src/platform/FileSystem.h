#pragma once
// The few file operations the station makes beyond reading and writing: making
// a folder, moving a file without ever replacing one that exists, and
// putting a folder's entries on the disk.

#include <string>

// False when it could not be made (an existing folder is also false).
bool MakeFolder(const std::string& path);

// Moves `from` to `to`; refuses (false, errno EEXIST) when `to` exists.
bool MoveWithoutReplace(const std::string& from, const std::string& to);

// Moves `from` to `to` in one step, replacing a file (never a folder) of that name.
bool ReplaceFile(const std::string& from, const std::string& to);

bool FileExists(const std::string& path);
// A descriptor for reading `path` when it is a regular file; -1 for a folder,
// a device or a pipe (whose open could wait for a writer), or one that
// cannot be opened. The caller closes it.
int OpenRegularFile(const std::string& path);
// True when OpenRegularFile would succeed.
bool IsReadableFile(const std::string& path);
// Bytes of a regular file; 0 when it is missing or not a file.
long long FileSize(const std::string& path);
bool RemoveFile(const std::string& path);
// Which file a path names now: another file moved over the name has another.
struct FileId {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileId&) const = default;
};
// All zero when nothing is there.
FileId IdOfFile(const std::string& path);
// Bytes of the regular files in a folder and in the folders below it.
long long FolderBytes(const std::string& path);
// Writes the folder's entries (files made, renamed or moved in it) to the
// disk, so a file already synced is also found under its name after a power
// cut. False when the folder cannot be opened or synced.
bool SyncFolder(const std::string& path);
// Puts what was written to the file (by anyone) on the disk; false when it
// cannot be opened or synced.
bool SyncFile(const std::string& path);
