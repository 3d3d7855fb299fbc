#include "transmit/TimeTag.h"

#include <cstdio>

std::optional<int64_t> ParseTimeTag(const std::string& text) {
    if (text.empty()) return 0;
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &month, &day, &year, &hour, &minute, &second) != 6)
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1900 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    std::tm local{};
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_year = year - 1900;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    std::time_t when = std::mktime(&local);
    if (when == static_cast<std::time_t>(-1)) return std::nullopt;
    return static_cast<int64_t>(when);
}

std::string FormatQueueEntry(std::time_t when, const std::string& name) {
    std::tm local{};
    localtime_r(&when, &local);
    char tag[64];
    std::snprintf(tag, sizeof tag, "%02d/%02d/%4d %02d:%02d:%02d ", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return tag + name;
}
