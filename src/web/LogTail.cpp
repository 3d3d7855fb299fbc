#include "web/LogTail.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>

namespace {

// The bytes from `offset` to the end of the file; empty when it cannot be read.
std::string readFrom(const std::string& path, long long offset) {
    std::ifstream file(path, std::ios::binary);
    if (!file || !file.seekg(offset)) return {};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Calls `line` for each complete line; the bytes taken, up to the last line end.
template <typename LineCall>
std::size_t eachLine(const std::string& bytes, LineCall line) {
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::size_t length = end - start;
        if (length > 0 && bytes[end - 1] == '\r') --length;
        line(bytes.substr(start, length));
    }
    return start;
}

}  // namespace

LogLines ReadLogAfter(const std::string& path, long long after, std::size_t keep) {
    std::deque<std::string> newest;
    long long number = 0;
    eachLine(readFrom(path, 0), [&](std::string text) {
        if (++number <= after) return;
        newest.push_back(std::move(text));
        if (newest.size() > keep) newest.pop_front();
    });
    return {{newest.begin(), newest.end()}, std::max(number, after)};
}

LogLines LogFollower::ReadNew(const std::string& path) {
    // The first look only finds the end; a new day's file is read whole.
    const bool firstLook = path_.empty();
    if (path != path_) {
        path_ = path;
        offset_ = 0;
        count_ = 0;
    }
    LogLines found;
    offset_ += static_cast<long long>(eachLine(readFrom(path_, offset_), [&](std::string text) {
        ++count_;
        if (!firstLook) found.lines.push_back(std::move(text));
    }));
    found.next = count_;
    return found;
}
