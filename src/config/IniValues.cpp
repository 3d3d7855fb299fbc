#include "config/IniValues.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/AsciiText.h"

namespace {

std::string pairText(const std::string& line, const std::string& key) {
    std::string text = line;
    std::replace(text.begin(), text.end(), '=', ' ');
    std::replace(text.begin(), text.end(), ',', ' ');
    return text.compare(0, key.size(), key) == 0 ? text.substr(key.size()) : std::string();
}

}  // namespace

int IniNumber(const std::string& line) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) return 0;
    return static_cast<int>(std::strtol(line.c_str() + equals + 1, nullptr, 10));
}

std::optional<std::string> IniQuoted(const std::string& line) {
    std::size_t first = line.find('"');
    std::size_t last = line.rfind('"');
    if (first == std::string::npos || last == first) return std::nullopt;
    return line.substr(first + 1, last - first - 1);
}

std::optional<std::pair<int, int>> IniIntPair(const std::string& line, const std::string& key) {
    std::string rest = pairText(line, key);
    int first = 0, second = 0;
    if (rest.empty() || std::sscanf(rest.c_str(), " %d %d", &first, &second) != 2) return std::nullopt;
    return std::make_pair(first, second);
}

std::optional<std::pair<double, double>> IniRealPair(const std::string& line, const std::string& key) {
    std::string rest = pairText(line, key);
    double first = 0, second = 0;
    if (rest.empty() || std::sscanf(rest.c_str(), " %lf %lf", &first, &second) != 2) return std::nullopt;
    return std::make_pair(first, second);
}

std::string IniPreparedKey(const std::string& line) {
    std::string key;
    for (char c : line.substr(0, line.find('=')))
        if (c != ' ' && c != '\t') key.push_back(c);
    return AsciiUpper(key);
}
