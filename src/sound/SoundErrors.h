#pragma once
// The sound device's error codes and the texts the modulator shows for them.
// Written once; every user reads this table.

#include <string>

namespace SoundError {
constexpr int kNone = 0;
constexpr int kMemory = 100;
constexpr int kWriteWhileClosed = 114;
constexpr int kUnderflow = 115;
constexpr int kOutputTimeout = 116;
}  // namespace SoundError

// Empty for 0; the catch-all text for a code outside the table.
std::string SoundErrorText(int code);
