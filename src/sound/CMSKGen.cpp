#include "sound/CMSKGen.h"

#include <cmath>

#include "app/ProgramState.h"

namespace {
// Elements after the start bit: the data bits, then mark to the frame's end.
constexpr int kLastPatternElement = 8;

bool elementIsMark(int pattern, int element) {
    if (element == 0) return false;
    if (element <= kLastPatternElement) return ((pattern >> (element - 1)) & 1) != 0;
    return true;
}
}  // namespace

CMSKGen::CMSKGen(ProgramState& state) : state_(state), twoPi(8.0 * std::atan(1.0)) {}

void CMSKGen::Init(unsigned sampleRate, double centre) {
    SetTones(sampleRate, centre);
    sampleStep = 1.0 / sampleRate;
    bitClock = 0.0;
    bitPeriod = 1.0 / static_cast<double>(state_.BAUD.load());
}

// Only the mean and the distance of the two entered tones count, so the
// lower tone is mark whichever of them was entered as MARK.
void CMSKGen::SetTones(unsigned sampleRate, double centre) {
    double rate = sampleRate;
    double half = state_.halfShift;
    spaceIncrement = twoPi * centre / rate + twoPi * half / rate;
    markIncrement = twoPi * centre / rate - twoPi * half / rate;
}

int CMSKGen::CharacterPattern(int code, int dataBits) {
    switch (dataBits) {
        case 8:
            return code & 0xFF;
        case 7:
            return (code | 0x80) & 0xFF;
        case 6:
            return (code | 0xC0) & 0xFF;
        default:
            return (code | 0xE0) & 0xFF;
    }
}

// Every character's start bit begins with its frame, so its stop element is
// the rest of the frame: 1.5 bit times with 5 data bits (a frame of 7.5), 2
// with more. A teleprinter's 7.42-unit cycle needs that much; a stop that
// slipped to one bit on a running grid misprinted.
void CMSKGen::Generate(double* buffer, int count, int code, int dataBits) {
    int pattern = CharacterPattern(code, dataBits);
    double phase = state_.tonePhase;
    // A sample on a bit boundary belongs to the bit that begins there.
    constexpr double kBoundary = 1e-9;
    for (int i = 0; i < count; ++i) {
        bitClock = i * sampleStep;
        bool mark = code == 0 || elementIsMark(pattern, static_cast<int>(bitClock / bitPeriod + kBoundary));
        phase = std::fmod(phase + (mark ? markIncrement : spaceIncrement), twoPi);
        buffer[i] = std::cos(phase) + std::sin(phase);
    }
    state_.tonePhase = phase;
}
