#include "platform/Words.h"

namespace {
constexpr std::string_view kBlanks = " \t\r\n";
}

std::vector<std::string> SplitWords(std::string_view text, std::size_t limit) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (words.size() < limit) {
        at = text.find_first_not_of(kBlanks, at);
        if (at == std::string_view::npos) break;
        std::size_t end = text.find_first_of(kBlanks, at);
        words.emplace_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (end == std::string_view::npos) break;
        at = end;
    }
    return words;
}
