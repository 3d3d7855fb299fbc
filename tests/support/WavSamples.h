#pragma once
// Reads back what the station wrote into a WAV file: the samples of a 16-bit
// mono PCM file with their rate, or nothing when it is no such file.

#include <cstdint>
#include <string>
#include <vector>

struct WavSamples {
    unsigned sampleRate = 0;
    std::vector<int16_t> samples;
    bool valid = false;
    // The header's sizes agree with the file's length.
    bool sizesAgree = false;
};

WavSamples ReadWavSamples(const std::string& path);
