#pragma once
// Files "as text" in the original's text mode: writing a line feed writes CR LF,
// reading turns CR LF back into a line feed. Message files, schedule lists, the
// snapshot and the log go through here so they hold the same bytes as there.
// Paths are resolved through the path map.

#include <cstdio>
#include <string>
#include <string_view>

class TextFileWriter {
public:
    enum class Mode { Truncate, Append };
    TextFileWriter() = default;
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    bool open(const std::string& path, Mode mode);
    bool isOpen() const { return file_ != nullptr; }
    // False when the bytes did not all reach the file (full disk, size limit).
    bool write(std::string_view text);
    // Flushes to the disk before closing; false when anything failed.
    bool close(bool sync = false);

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

class TextFileReader {
public:
    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    // As fgets with a buffer of `bufferSize`: at most bufferSize-1 characters,
    // ending after a line feed. False at the end of the file.
    bool readLine(std::string& line, std::size_t bufferSize);
    // One character with CR LF folded; EOF at the end.
    int get();
    void close();

private:
    std::FILE* file_ = nullptr;
};

// The whole file read as text; false when it cannot be opened or read to its end.
bool ReadTextFile(const std::string& path, std::string& contents);
// What ReadTextFile gives for a file holding `bytes`: each CR LF a line feed.
std::string FoldLineEnds(std::string bytes);
