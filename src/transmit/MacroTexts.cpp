#include "transmit/MacroTexts.h"

#include <vector>

#include "platform/Clock.h"
#include "platform/EnglishTime.h"
#include "platform/Words.h"

namespace {

std::string formatted(std::string_view format, const std::tm& time) {
    std::string text = FormatEnglishTime(format, time);
    if (text.size() > kMacroTextBuffer - 1) text.resize(kMacroTextBuffer - 1);
    return text;
}

}  // namespace

std::string ZoneInitials(std::string_view zoneName) {
    std::vector<std::string> parts = SplitWords(zoneName, 3);
    if (parts.empty()) return "";
    std::string letters;
    if (parts.size() == 1) {
        letters = parts[0].substr(0, 3);
    } else {
        for (const std::string& part : parts) letters.push_back(part[0]);
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
