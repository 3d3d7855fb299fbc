#pragma once
// The three value forms of an initialization-file line: a number after the
// first '=', a quoted text, and a pair of numbers after the key name.

#include <optional>
#include <string>
#include <utility>

// Decimal integer after the first '=' (leading blanks, optional sign); 0 without digits.
int IniNumber(const std::string& line);

// Between the first and the last double quote; nothing unless both exist apart.
std::optional<std::string> IniQuoted(const std::string& line);

// "KEY a b" once every '=' and ',' became a blank; the key must begin the line.
std::optional<std::pair<int, int>> IniIntPair(const std::string& line, const std::string& key);
std::optional<std::pair<double, double>> IniRealPair(const std::string& line, const std::string& key);

// The key part before the first '=': upper case, blanks and tabs removed.
std::string IniPreparedKey(const std::string& line);
