#include "support/WavSamples.h"

#include <cstring>

#include "support/TempDir.h"

namespace {
uint32_t get32(const std::string& bytes, std::size_t at) {
    auto b = [&](std::size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}
uint16_t get16(const std::string& bytes, std::size_t at) { return static_cast<uint16_t>(get32(bytes, at) & 0xFFFF); }
}  // namespace

// Walks the chunks, so that ALSA's file writer (which may add chunks of its
// own) reads as well as ours.
WavSamples ReadWavSamples(const std::string& path) {
    WavSamples wav;
    std::string bytes = ReadBinaryFile(path);
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return wav;
    std::size_t at = 12;
    bool mono16 = false;
    while (at + 8 <= bytes.size()) {
        std::string id = bytes.substr(at, 4);
        uint32_t size = get32(bytes, at + 4);
        std::size_t body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            mono16 = get16(bytes, body) == 1 && get16(bytes, body + 2) == 1 && get16(bytes, body + 14) == 16;
            wav.sampleRate = get32(bytes, body + 4);
        } else if (id == "data") {
            std::size_t available = std::min<std::size_t>(size, bytes.size() - body);
            wav.sizesAgree = available == size && get32(bytes, 4) == bytes.size() - 8;
            wav.samples.resize(available / 2);
            for (std::size_t i = 0; i < wav.samples.size(); ++i)
                wav.samples[i] = static_cast<int16_t>(get16(bytes, body + 2 * i));
            wav.valid = mono16;
            return wav;
        }
        at = body + size + (size & 1);
    }
    return wav;
}
