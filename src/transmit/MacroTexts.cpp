#include "transmit/MacroTexts.h"

#include <vector>

#include "platform/Clock.h"
#include "platform/EnglishTime.h"

namespace {

std::string formatted(std::string_view format, const std::tm& time) {
    std::string text = FormatEnglishTime(format, time);
    if (text.size() > kMacroTextBuffer - 1) text.resize(kMacroTextBuffer - 1);
    return text;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> found;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && text[at] == ' ') ++at;
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        if (end > at) found.push_back(text.substr(at, end - at));
        at = end;
    }
    return found;
}

}  // namespace

std::string ZoneInitials(std::string_view zoneName) {
    std::vector<std::string_view> parts = words(zoneName);
    if (parts.empty()) return "";
    std::string letters;
    if (parts.size() == 1) {
        letters = std::string(parts[0].substr(0, 3));
    } else {
        for (std::size_t i = 0; i < parts.size() && i < 3; ++i) letters.push_back(parts[i][0]);
    }
    return "(" + letters + ")";
}

bool MacroText(int letter, const Clock& clock, std::string& text) {
    switch (letter) {
    case 'D':
    case 'd': text = formatted("%#x", clock.localNow()); return true;
    case 'L':
    case 'l': text = formatted("%B %d, %Y", clock.localNow()); return true;
    case 'W':
    case 'w': text = formatted("%A", clock.localNow()); return true;
    case 'T':
    case 't': {
        std::tm local = clock.localNow();
        text = formatted("%X", local).substr(0, 5);
        std::string zone = formatted("%Z", local);
        if (!zone.empty()) text += ZoneInitials(zone);
        return true;
    }
    case 'U':
    case 'u': text = formatted("%X", clock.utcNow()).substr(0, 5) + "(UTC)"; return true;
    default: return false;
    }
}
