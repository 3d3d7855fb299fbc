#include "sound/WavFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kHeaderBytes = 44;
constexpr uint32_t kMaxDataBytes = 0xFFFFFFFFu - kHeaderBytes;

void put16(unsigned char* at, uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void put32(unsigned char* at, uint32_t value) {
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

uint32_t get32(const unsigned char* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// The canonical 44-byte header of 16-bit mono PCM.
void buildHeader(unsigned char* header, unsigned sampleRate, uint32_t dataBytes) {
    std::memcpy(header, "RIFF", 4);
    put32(header + 4, 36 + dataBytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    put32(header + 16, 16);
    put16(header + 20, 1);
    put16(header + 22, 1);
    put32(header + 24, sampleRate);
    put32(header + 28, sampleRate * 2);
    put16(header + 32, 2);
    put16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    put32(header + 40, dataBytes);
}

}  // namespace

WavFile::~WavFile() { close(); }

bool WavFile::failed(const char* step) {
    error_ = std::string(step) + ": " + std::strerror(errno);
    close();
    return false;
}

bool WavFile::open(const std::string& path, unsigned sampleRate) {
    close();
    sampleRate_ = sampleRate;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return failed(path.c_str());
    if (continuesExisting(sampleRate)) return true;
    dataBytes_ = 0;
    if (::ftruncate(fd_, 0) != 0) return failed("truncate");
    return writeHeader();
}

// An earlier run's file of the same format: its samples stay, new ones follow.
// A stray odd byte after them (a run cut short) is dropped.
bool WavFile::continuesExisting(unsigned sampleRate) {
    unsigned char found[kHeaderBytes];
    unsigned char expected[kHeaderBytes];
    if (::pread(fd_, found, kHeaderBytes, 0) != kHeaderBytes) return false;
    buildHeader(expected, sampleRate, 0);
    if (std::memcmp(found, expected, 4) != 0 || std::memcmp(found + 8, expected + 8, 28) != 0 ||
        std::memcmp(found + 36, expected + 36, 4) != 0)
        return false;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || info.st_size < kHeaderBytes) return false;
    uint64_t present = static_cast<uint64_t>(info.st_size) - kHeaderBytes;
    uint64_t declared = get32(found + 40);
    dataBytes_ = static_cast<uint32_t>(std::min(present, declared) & ~1ull);
    return ::ftruncate(fd_, kHeaderBytes + dataBytes_) == 0 && writeHeader();
}

bool WavFile::writeHeader() {
    unsigned char header[kHeaderBytes];
    buildHeader(header, sampleRate_, dataBytes_);
    if (::pwrite(fd_, header, kHeaderBytes, 0) != kHeaderBytes) return failed("header");
    return true;
}

bool WavFile::append(const int16_t* samples, int count) {
    if (fd_ < 0) return false;
    uint32_t bytes = static_cast<uint32_t>(count) * 2;
    if (bytes > kMaxDataBytes - dataBytes_) {
        errno = EFBIG;
        return failed("append");
    }
    block_.resize(bytes);
    for (int i = 0; i < count; ++i) put16(&block_[2 * static_cast<std::size_t>(i)], static_cast<uint16_t>(samples[i]));
    ssize_t written = ::pwrite(fd_, block_.data(), bytes, kHeaderBytes + static_cast<off_t>(dataBytes_));
    if (written != static_cast<ssize_t>(bytes)) {
        if (written >= 0) errno = ENOSPC;
        return failed("append");
    }
    dataBytes_ += bytes;
    return writeHeader();
}

void WavFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}
