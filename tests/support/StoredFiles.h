#pragma once
// The disk as the message tests see it: the files of the data folder, and a
// file-size limit standing in for a full disk.

#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

// Names of the files (not folders) in data/.
std::vector<std::string> DataFiles();
// Transfers' spool files left in the working directory.
std::vector<std::string> SpoolFiles();

// RLIMIT_FSIZE for the life of the object: a write past it fails as on a
// full disk (SIGXFSZ ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};
