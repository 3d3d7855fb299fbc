#pragma once
// A fresh working directory for one test, entered on creation and removed,
// with the previous directory restored, at the end.

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

std::string ReadBinaryFile(const std::string& path);
void WriteBinaryFile(const std::string& path, const std::string& bytes);
