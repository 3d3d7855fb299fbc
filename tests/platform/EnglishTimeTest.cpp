#include <gtest/gtest.h>

#include <clocale>

#include "platform/EnglishTime.h"

namespace {
std::tm Tuesday() {
    std::tm t{};
    t.tm_year = 2001 - 1900;
    t.tm_mon = 4;
    t.tm_mday = 8;
    t.tm_wday = 2;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_zone = "CEST";
    return t;
}
}  // namespace

TEST(EnglishTime, Conversions) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"%#x", "Tuesday, May 8, 2001"},
        {"%B %d, %Y", "May 08, 2001"},
        {"%X", "07:05:09"},
        {"%A", "Tuesday"},
        {"%a %b", "Tue May"},
        {"%Z", "CEST"},
        {"%x", "05/08/01"},
        {"%H:%M:%S %I%p", "07:05:09 07AM"},
        {"%#d.%#m.%y", "8.5.01"},
        {"100%%", "100%"},
        {"%Q and %", "%Q and %"},
        {"no conversions", "no conversions"},
    };
    std::tm t = Tuesday();
    for (const auto& [format, expected] : cases) EXPECT_EQ(FormatEnglishTime(format, t), expected) << format;
}

TEST(EnglishTime, EveryNameAndTheAfternoon) {
    std::tm t = Tuesday();
    const char* days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int d = 0; d < 7; ++d) {
        t.tm_wday = d;
        EXPECT_EQ(FormatEnglishTime("%A", t), days[d]);
    }
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    for (int m = 0; m < 12; ++m) {
        t.tm_mon = m;
        EXPECT_EQ(FormatEnglishTime("%B", t), months[m]);
    }
    t.tm_hour = 0;
    EXPECT_EQ(FormatEnglishTime("%I %p", t), "12 AM");
    t.tm_hour = 23;
    EXPECT_EQ(FormatEnglishTime("%I %p %X", t), "11 PM 23:05:09");
    t.tm_zone = nullptr;
    EXPECT_EQ(FormatEnglishTime("[%Z]", t), "[]");
}

TEST(EnglishTime, TheLocaleDoesNotChangeTheNames) {
    const char* before = std::setlocale(LC_TIME, nullptr);
    std::string saved = before ? before : "C";
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_TIME, name) == nullptr) continue;
        EXPECT_EQ(FormatEnglishTime("%#x", Tuesday()), "Tuesday, May 8, 2001") << name;
    }
    std::setlocale(LC_TIME, saved.c_str());
}
