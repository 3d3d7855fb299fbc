#include "sound/psk31/Psk31Sender.h"

#include "sound/CSound.h"
#include "sound/psk31/Varicode.h"

namespace {
constexpr int kDotUnits = 1;
constexpr int kDashUnits = 3;
constexpr int kCharacterGapUnits = 3;  // after the element gap of one unit
constexpr int kWordSpaceUnits = 7;
}  // namespace

bool Psk31Sender::write() {
    return device_.WriteSamples(buffer_, Psk31Modulator::kSymbolSamples) == Psk31Modulator::kSymbolSamples;
}

bool Psk31Sender::send(int bit) {
    if (!beforeSymbol_()) return false;
    modulator_.symbol(bit, buffer_);
    return write();
}

bool Psk31Sender::key(bool on, int symbols) {
    for (int i = 0; i < symbols; ++i) {
        if (!beforeSymbol_()) return false;
        modulator_.keyed(on, buffer_);
        if (!write()) return false;
    }
    return true;
}

bool Psk31Sender::preamble() {
    if (!key(true, 1)) return false;
    for (int i = 0; i < kPreambleSymbols; ++i)
        if (!send(0)) return false;
    return true;
}

bool Psk31Sender::character(int code) {
    skipped_ = false;
    if (code == 0) {
        for (int i = 0; i < kIdleFillSymbols; ++i)
            if (!send(0)) return false;
        return true;
    }
    std::string_view bits = VaricodeFor(code);
    if (bits.empty()) {
        skipped_ = true;
        return true;
    }
    for (char bit : bits)
        if (!send(bit == '1' ? 1 : 0)) return false;
    return send(0) && send(0);
}

bool Psk31Sender::idle() { return send(0); }

// The carrier, steady, is keyed like a Morse transmitter; reversals go on
// after it.
bool Psk31Sender::cwIdentification(const std::string& text) {
    if (!key(false, kCharacterGapUnits * kMorseUnitSymbols)) return false;
    for (unsigned char ch : text) {
        std::string_view pattern = morse_ ? morse_(ch) : std::string_view("3");
        if (pattern == "3") {
            if (!key(false, kWordSpaceUnits * kMorseUnitSymbols)) return false;
            continue;
        }
        for (char element : pattern) {
            if (element != '1' && element != '2') continue;
            int units = element == '1' ? kDotUnits : kDashUnits;
            if (!key(true, units * kMorseUnitSymbols) || !key(false, kMorseUnitSymbols)) return false;
        }
        if (!key(false, (kCharacterGapUnits - 1) * kMorseUnitSymbols)) return false;
    }
    return key(true, kMorseUnitSymbols);
}

bool Psk31Sender::postamble() {
    for (int i = 0; i < kPostambleSymbols; ++i)
        if (!send(1)) return false;
    return key(false, 1);
}
