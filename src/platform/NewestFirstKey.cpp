#include "platform/NewestFirstKey.h"

#include <vector>

#include "platform/FolderListing.h"
#include "platform/Words.h"

namespace {
// Less the high half of a file time, this leaves eight digits for files of
// the next several centuries.
constexpr long long kKeyBase = 50000000;
}  // namespace

std::string NewestFirstKeyed(const FolderEntry& entry) {
    long long key = kKeyBase - static_cast<long long>(entry.fileTime >> 32);
    return std::to_string(key) + " " + entry.name;
}

std::string WithoutNewestFirstKey(const std::string& keyed) {
    std::vector<std::string> words = SplitWords(keyed, 2);
    return words.size() == 2 ? words[1] : std::string();
}
