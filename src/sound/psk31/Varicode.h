#pragma once
// The PSK31 Varicode: each character of 7-bit ASCII as a run of bits that
// starts and ends with 1 and holds no two 0s in a row, so that "00" between
// characters marks their boundary. Pure; used by the PSK31 sender and by
// anything that reads PSK31 back.

#include <string_view>

// Bits of `character` ('1' and '0', first sent first); empty above 127.
std::string_view VaricodeFor(int character);
// The character whose bits these are, or -1.
int VaricodeCharacter(std::string_view bits);
