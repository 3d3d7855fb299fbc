#pragma once
// The independent FSK decoder of the sound tests: minimodem from Debian,
// reading RTTY (Baudot, 1.5 stop bits) from a WAV file.

#include <string>

// The text minimodem decodes from `wavPath` at `baud` with the given tones.
std::string MinimodemRtty(const std::string& wavPath, double baud, double mark, double space);
