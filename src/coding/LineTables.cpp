#include "coding/LineTables.h"

const BaudRate* FindBaudRate(int menuId) {
    for (const BaudRate& rate : kBaudRates)
        if (rate.menuId == menuId) return &rate;
    return nullptr;
}

const BaudRate* FindBaudByScriptPrefix(const std::string& text) {
    const BaudRate* best = nullptr;
    std::size_t bestLength = 0;
    for (const BaudRate& rate : kBaudRates) {
        std::string key = rate.scriptCommand;
        if (key.size() > bestLength && text.compare(0, key.size(), key) == 0) {
            best = &rate;
            bestLength = key.size();
        }
    }
    return best;
}

const LineModeInfo* FindLineModeByMenu(int menuId) {
    for (const LineModeInfo& info : kLineModes)
        if (info.menuId == menuId) return &info;
    return nullptr;
}
