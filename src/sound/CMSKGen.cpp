#include "sound/CMSKGen.h"

#include <cmath>

#include "app/ProgramState.h"

namespace {
// Elements after the start bit: the data bits, then mark to the frame's end.
constexpr int kLastPatternElement = 8;
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

void CMSKGen::Generate(double* buffer, int count, int code, int dataBits) {
    int pattern = CharacterPattern(code, dataBits);
    bool mark = true;
    int tick = 0;
    double phase = state_.tonePhase;
    for (int i = 0; i < count; ++i) {
        bitClock += sampleStep;
        if (bitClock >= bitPeriod) {
            bitClock -= bitPeriod;
            if (code != 0) {
                if (tick == 0) mark = false;
                else if (tick <= kLastPatternElement) mark = ((pattern >> (tick - 1)) & 1) != 0;
                else mark = true;
                ++tick;
            }
        }
        phase = std::fmod(phase + (mark ? markIncrement : spaceIncrement), twoPi);
        buffer[i] = std::cos(phase) + std::sin(phase);
    }
    state_.tonePhase = phase;
}
