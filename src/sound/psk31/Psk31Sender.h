#pragma once
// Turns what the PSK31 library sends into symbols on the sound device: the
// carrier rising into a preamble of reversals, each character's Varicode and
// its "00" gap, reversals while idle, the identification keyed in Morse on the
// carrier, and a postamble of steady carrier fading out. Every symbol is one
// device write. Runs on the PSK31 output thread; owns the symbol buffer.

#include <functional>
#include <string>
#include <string_view>

#include "sound/psk31/Psk31Modulator.h"

class CSound;

class Psk31Sender {
public:
    // The Morse pattern of a character: '1' dot, '2' dash, "3" a word space.
    using MorsePatterns = std::function<std::string_view(int character)>;
    // Runs before every symbol (it may retune the modulator); false stops the
    // sender where it is.
    using BeforeSymbol = std::function<bool()>;

    static constexpr int kPreambleSymbols = 32;
    static constexpr int kPostambleSymbols = 32;
    // Code 0 fills a pause with this many reversals.
    static constexpr int kIdleFillSymbols = 8;
    // A Morse unit is two symbols, 64 ms: about 19 words per minute.
    static constexpr int kMorseUnitSymbols = 2;

    Psk31Sender(CSound& device, Psk31Modulator& modulator, MorsePatterns morse, BeforeSymbol beforeSymbol)
        : device_(device),
          modulator_(modulator),
          morse_(std::move(morse)),
          beforeSymbol_(std::move(beforeSymbol)) {}

    // Each returns false when the device failed or beforeSymbol said stop.
    bool preamble();
    // The Varicode and its gap; 0 is idle fill. False also for a character
    // without Varicode, which is left out (see skipped()).
    bool character(int code);
    bool idle();
    bool cwIdentification(const std::string& text);
    bool postamble();

    // True when the last character() left out a character without Varicode.
    bool skipped() const { return skipped_; }

private:
    bool send(int bit);
    bool key(bool on, int symbols);
    bool write();

    CSound& device_;
    Psk31Modulator& modulator_;
    MorsePatterns morse_;
    BeforeSymbol beforeSymbol_;
    double buffer_[Psk31Modulator::kSymbolSamples];
    bool skipped_ = false;
};
