#pragma once
// A BPSK31 receiver for the tests, after the published PSK31 description:
// the signal is mixed down coherently at the carrier, integrated over each
// symbol at the timing that gives the most energy, and each symbol compared
// with the one before (a reversal is 0, no change 1); the bits are cut into
// Varicode characters at every "00". Knows nothing of our modulator.

#include <cstdint>
#include <string>
#include <vector>

struct Psk31Reception {
    std::string text;
    // Symbol phase differences, in radians, of the symbols with carrier.
    std::vector<double> phaseSteps;
};

Psk31Reception DemodulatePsk31(const std::vector<int16_t>& samples, unsigned sampleRate, double carrierHertz);
