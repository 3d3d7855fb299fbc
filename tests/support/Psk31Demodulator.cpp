#include "support/Psk31Demodulator.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "sound/psk31/Varicode.h"

namespace {

constexpr double kSymbolRate = 31.25;

using Baseband = std::vector<std::complex<double>>;

Baseband mixDown(const std::vector<int16_t>& samples, unsigned rate, double carrier) {
    Baseband mixed(samples.size());
    double step = 2.0 * M_PI * carrier / rate;
    for (std::size_t n = 0; n < samples.size(); ++n)
        mixed[n] = std::polar(static_cast<double>(samples[n]), -step * static_cast<double>(n));
    return mixed;
}

// Running sums, so every symbol window costs two lookups.
Baseband prefixSums(const Baseband& mixed) {
    Baseband sums(mixed.size() + 1);
    for (std::size_t n = 0; n < mixed.size(); ++n) sums[n + 1] = sums[n] + mixed[n];
    return sums;
}

std::vector<std::complex<double>> symbolsAt(const Baseband& sums, std::size_t offset, std::size_t length) {
    std::vector<std::complex<double>> symbols;
    for (std::size_t start = offset; start + length < sums.size(); start += length)
        symbols.push_back(sums[start + length] - sums[start]);
    return symbols;
}

double energy(const std::vector<std::complex<double>>& symbols) {
    double total = 0;
    for (auto symbol : symbols) total += std::norm(symbol);
    return total;
}

std::string varicodeText(const std::string& bits) {
    std::string text;
    std::size_t at = 0;
    while (at < bits.size()) {
        std::size_t gap = bits.find("00", at);
        if (gap == std::string::npos) break;
        if (gap > at) {
            int character = VaricodeCharacter(bits.substr(at, gap - at));
            if (character > 0) text += static_cast<char>(character);
        }
        at = bits.find_first_not_of('0', gap);
    }
    return text;
}

}  // namespace

Psk31Reception DemodulatePsk31(const std::vector<int16_t>& samples, unsigned sampleRate, double carrierHertz) {
    Psk31Reception reception;
    std::size_t length = static_cast<std::size_t>(std::lround(sampleRate / kSymbolRate));
    if (samples.size() < 2 * length) return reception;
    Baseband sums = prefixSums(mixDown(samples, sampleRate, carrierHertz));

    std::size_t bestOffset = 0;
    double bestEnergy = -1;
    for (std::size_t offset = 0; offset < length; offset += 4) {
        double e = energy(symbolsAt(sums, offset, length));
        if (e > bestEnergy) bestEnergy = e, bestOffset = offset;
    }
    std::vector<std::complex<double>> symbols = symbolsAt(sums, bestOffset, length);
    double strongest = 0;
    for (auto symbol : symbols) strongest = std::max(strongest, std::abs(symbol));

    std::string bits;
    for (std::size_t k = 1; k < symbols.size(); ++k) {
        bool carrier = std::abs(symbols[k]) > 0.3 * strongest && std::abs(symbols[k - 1]) > 0.3 * strongest;
        if (!carrier) {
            bits += "00";  // no carrier ends whatever character was under way
            continue;
        }
        std::complex<double> step = symbols[k] * std::conj(symbols[k - 1]);
        reception.phaseSteps.push_back(std::arg(step));
        bits += step.real() < 0 ? '0' : '1';
    }
    reception.text = varicodeText(bits);
    return reception;
}
