#include "sound/psk31/Psk31Modulator.h"

#include <cmath>

namespace {
const double kTwoPi = 8.0 * std::atan(1.0);
const double kPi = 4.0 * std::atan(1.0);
constexpr int kRampSamples = 40;  // 5 ms edges: no key clicks, short enough for Morse

double rampLevel(int position) { return 0.5 * (1.0 - std::cos(kPi * position / kRampSamples)); }
}  // namespace

void Psk31Modulator::setCarrier(double hertz) { carrierStep_ = kTwoPi * hertz / kSampleRate; }

double Psk31Modulator::carrierSample(double envelope) {
    double sample = kPeak * envelope * std::cos(carrierPhase_);
    carrierPhase_ = std::fmod(carrierPhase_ + carrierStep_, kTwoPi);
    return sample;
}

void Psk31Modulator::symbol(int bit, double* out) {
    rampPosition_ = kRampSamples;
    for (int i = 0; i < kSymbolSamples; ++i) {
        double shape = bit == 0 ? std::cos(kPi * (i + 0.5) / kSymbolSamples) : 1.0;
        out[i] = carrierSample(sign_ * shape);
    }
    if (bit == 0) sign_ = -sign_;
}

void Psk31Modulator::keyed(bool on, double* out) {
    for (int i = 0; i < kSymbolSamples; ++i) {
        if (on && rampPosition_ < kRampSamples) ++rampPosition_;
        if (!on && rampPosition_ > 0) --rampPosition_;
        out[i] = carrierSample(sign_ * rampLevel(rampPosition_));
    }
}
