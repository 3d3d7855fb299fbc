#include "platform/TextFile.h"

#include <unistd.h>

#include "platform/PathMap.h"

TextFileWriter::~TextFileWriter() { close(); }

bool TextFileWriter::open(const std::string& path, Mode mode) {
    close();
    failed_ = false;
    file_ = std::fopen(ResolvePath(path).c_str(), mode == Mode::Append ? "ab" : "wb");
    return file_ != nullptr;
}

bool TextFileWriter::write(std::string_view text) {
    if (file_ == nullptr) return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            std::size_t length = i - start;
            if (length > 0 && std::fwrite(text.data() + start, 1, length, file_) != length) failed_ = true;
            if (i < text.size() && std::fwrite("\r\n", 1, 2, file_) != 2) failed_ = true;
            start = i + 1;
        }
    }
    return !failed_;
}

bool TextFileWriter::close(bool sync) {
    if (file_ == nullptr) return !failed_;
    if (std::fflush(file_) != 0) failed_ = true;
    if (sync && ::fsync(::fileno(file_)) != 0) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

TextFileReader::~TextFileReader() { close(); }

bool TextFileReader::open(const std::string& path) {
    close();
    file_ = std::fopen(ResolvePath(path).c_str(), "rb");
    return file_ != nullptr;
}

int TextFileReader::get() {
    if (file_ == nullptr) return EOF;
    int ch = std::fgetc(file_);
    if (ch != '\r') return ch;
    int next = std::fgetc(file_);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, file_);
    return '\r';
}

bool TextFileReader::readLine(std::string& line, std::size_t bufferSize) {
    line.clear();
    if (file_ == nullptr || bufferSize < 2) return false;
    while (line.size() < bufferSize - 1) {
        int ch = get();
        if (ch == EOF) break;
        line.push_back(static_cast<char>(ch));
        if (ch == '\n') break;
    }
    return !line.empty();
}

void TextFileReader::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool ReadTextFile(const std::string& path, std::string& contents) {
    contents.clear();
    std::FILE* file = std::fopen(ResolvePath(path).c_str(), "rb");
    if (file == nullptr) return false;
    char block[8192];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) contents.append(block, got);
    const bool whole = std::ferror(file) == 0;
    std::fclose(file);
    contents = FoldLineEnds(std::move(contents));
    return whole;
}

std::string FoldLineEnds(std::string text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') text[kept++] = text[i];
    text.resize(kept);
    return text;
}
