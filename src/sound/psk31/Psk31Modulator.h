#pragma once
// BPSK31 samples, one symbol (256 samples at 8000 Hz, 31.25 baud) per call:
// a 0 bit reverses the carrier's phase under a cosine envelope that passes
// through zero in mid-symbol, a 1 bit keeps it; the carrier can also be keyed
// on and off with shaped edges (start, end, Morse). Keeps the carrier phase,
// the phase sign and the keying level between calls. PSK31 output thread.

class Psk31Modulator {
public:
    static constexpr unsigned kSampleRate = 8000;
    static constexpr int kSymbolSamples = 256;
    static constexpr double kPeak = 6000.0;

    void setCarrier(double hertz);
    // One symbol for `bit` (0 reversal, 1 steady), at full level.
    void symbol(int bit, double* out);
    // One symbol of steady carrier moving to `on` (full level) or off, with
    // edges a few milliseconds long.
    void keyed(bool on, double* out);

private:
    double carrierSample(double envelope);

    double carrierStep_ = 0.0;
    double carrierPhase_ = 0.0;
    double sign_ = 1.0;
    int rampPosition_ = 0;  // 0 off .. kRampSamples full level
};
