#include "platform/AsciiText.h"

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = AsciiUpper(c);
    return upper;
}

bool AnyHoldsWithoutCase(const std::vector<std::string>& upperCased, std::string_view text) {
    const std::string wanted = AsciiUpper(text);
    for (const std::string& held : upperCased)
        if (held.find(wanted) != std::string::npos) return true;
    return false;
}

std::size_t LengthWithoutLineEnd(std::string_view line) {
    std::size_t n = line.size();
    while (n > 0 && (line[n - 1] == '\r' || line[n - 1] == '\n')) --n;
    return n;
}

std::string_view BeforeNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }
