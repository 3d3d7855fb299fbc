#pragma once
// A 16-bit mono PCM WAV file that grows at its end: an existing file of the
// same format is continued, anything else is started afresh. The header's
// sizes are rewritten after every append, so the file is valid at any moment.
// Used by the WAV file device's player thread only.

#include <cstdint>
#include <string>
#include <vector>

class WavFile {
public:
    WavFile() = default;
    ~WavFile();
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // False when the file cannot be opened or written; error() says why.
    bool open(const std::string& path, unsigned sampleRate);
    bool append(const int16_t* samples, int count);
    void close();
    const std::string& error() const { return error_; }

private:
    bool continuesExisting(unsigned sampleRate);
    bool writeHeader();
    bool failed(const char* step);

    int fd_ = -1;
    unsigned sampleRate_ = 0;
    uint32_t dataBytes_ = 0;
    std::string error_;
    std::vector<unsigned char> block_;  // little-endian bytes of one append
};
