#pragma once
// The character code table of the teletype modes: for each ASCII character
// 0..95 the shift it needs and its 5-bit code in the ITA2, TELEX and MILITARY
// columns. Written once here; the encoder and every test read this one.
// Constant data, safe from any thread.

#include <array>
#include <cstdint>

// Codes with a fixed meaning.
constexpr int kCodeBlank = 0;
constexpr int kCodeLineFeed = 2;
constexpr int kCodeSpace = 4;
constexpr int kCodeCarriageReturn = 8;
constexpr int kCodeFigs = 27;
constexpr int kCodeLtrs = 31;
// A table entry without a code.
constexpr int kNoCode = 127;

struct CodeTableEntry {
    int32_t shift;     // kCodeLtrs, kCodeFigs or 0 (none)
    uint8_t ita2;      // line mode 1
    uint8_t telex;     // line mode 2
    uint8_t military;  // line mode 3, and every mode other than 1 and 2
};

constexpr int kCodeTableSize = 96;

extern const std::array<CodeTableEntry, kCodeTableSize> codeTable;

// The column of `mode`: ITA2 for 1, TELEX for 2, MILITARY otherwise.
int CodeFor(const CodeTableEntry& entry, int mode);
