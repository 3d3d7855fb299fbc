#include "sound/ToneText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr std::size_t kEditCharacters = 255;
}

std::string FormatTone(double hertz) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", hertz);
    return text;
}

double ParseTone(const std::string& text) {
    std::string read = text.substr(0, kEditCharacters);
    double value = std::strtod(read.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}
