#include "coding/LineTables.h"

const BaudRate* FindBaudRate(int menuId) {
    for (const BaudRate& rate : kBaudRates)
        if (rate.menuId == menuId) return &rate;
    return nullptr;
}

const LineModeInfo* FindLineModeByMenu(int menuId) {
    for (const LineModeInfo& info : kLineModes)
        if (info.menuId == menuId) return &info;
    return nullptr;
}
