#pragma once
// Character-level text rules the station applies everywhere it reads or
// sends text: upper case by the ASCII letters alone (Latin-1 letters keep
// their case, as the teleprinter tables expect), a line's length without
// its line end, and received bytes taken as a C string.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

char AsciiUpper(char c);
std::string AsciiUpper(std::string_view text);
// Whether one of `upperCased` (each upper-cased already) holds `text` in any letter case.
bool AnyHoldsWithoutCase(const std::vector<std::string>& upperCased, std::string_view text);

// The length without the trailing CR and LF characters.
std::size_t LengthWithoutLineEnd(std::string_view line);

// The bytes before the first NUL: the station's texts end there.
std::string_view BeforeNul(std::string_view bytes);
