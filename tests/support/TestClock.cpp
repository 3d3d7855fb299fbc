#include "support/TestClock.h"

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

void TestClock::setLocal(int year, int month, int day, int hour, int minute, int second) {
    set(std::chrono::system_clock::from_time_t(LocalTime(year, month, day, hour, minute, second)));
}
