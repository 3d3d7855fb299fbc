#pragma once
// The line speeds and line modes with their menu items, written once for the
// menus, the script commands and the window.

#include <cstdint>
#include <string>

struct BaudRate {
    int menuId;
    const char* itemText;
    float baud;
    const char* scriptCommand;
};

constexpr BaudRate kBaudRates[] = {
    {32865, "45.45", 45.45f, "B45"},     {32866, "50.0", 50.0f, "B50"},
    {32867, "56.9", 56.9f, "B56"},       {32868, "74.4", 74.4f, "B74"},
    {32869, "100.0", 100.0f, "B100"},    {32870, "110.0", 110.0f, "B110"},
    {32871, "150.0", 150.0f, "B150"},    {32872, "300.0", 300.0f, "B300"},
    {32873, "600.0", 600.0f, "B600"},    {32874, "1200.0", 1200.0f, "B1200"},
    {32875, "2400.0", 2400.0f, "B2400"}, {32876, "9600.0", 9600.0f, "B9600"},
    {32877, "19200.0", 19200.0f, "B19200"}, {32878, "33600.0", 33600.0f, "B33600"},
    {32879, "56000.0", 56000.0f, "B56000"},
};

const BaudRate* FindBaudRate(int menuId);
// The speed whose script command `text` begins with, the longest such command
// winning (B56000 before B56); nullptr when none.
const BaudRate* FindBaudByScriptPrefix(const std::string& text);

// The PSK31 frequencies that the script commands $F15..$F21 choose.
struct PskFrequency {
    const char* scriptCommand;
    float hertz;
};

constexpr PskFrequency kPskFrequencies[] = {{"F15", 1500.0f}, {"F16", 1600.0f}, {"F17", 1700.0f}, {"F18", 1800.0f},
                                            {"F19", 1900.0f}, {"F20", 2000.0f}, {"F21", 2100.0f}};

struct LineModeInfo {
    int32_t mode;
    int menuId;
    const char* itemText;
    const char* logText;
};

// In the Mode menu's order.
constexpr LineModeInfo kLineModes[] = {
    {3, 32787, "Military (ITA#2 USA)", "Mode set to MILITARY"},
    {1, 32788, "ITA#2 (British-French)", "Mode set to ITA2"},
    {2, 32789, "TELEX", "Mode set to TELEX"},
    {0, 32790, "ASCII", "Mode set to ASCII"},
    {4, 32791, "PSK31", "Mode set to PSK31"},
    {5, 32792, "CW", "Mode set to MORSE CODE"},
};

const LineModeInfo* FindLineModeByMenu(int menuId);
