#include "support/StoredFiles.h"

#include "platform/FolderListing.h"

std::vector<std::string> DataFiles() {
    std::vector<std::string> names;
    for (const FolderEntry& entry : ListFolder("data/*"))
        if (!entry.isFolder) names.push_back(entry.name);
    return names;
}

std::vector<std::string> SpoolFiles() {
    std::vector<std::string> names;
    for (const FolderEntry& entry : ListFolder("data_*.tmp"))
        if (!entry.isFolder) names.push_back(entry.name);
    return names;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}
