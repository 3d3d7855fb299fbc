#pragma once
// Date and time texts in English whatever the locale, in the manner of the C
// library's strftime as the original's library wrote them: names come from
// tables here, never from the C locale. Pure functions, safe on any thread.
//
// Conversions: %a %A %b %B %d %H %I %m %M %p %S %y %Y %Z %%, plus
//   %x  "05/12/01"                %#x  "Tuesday, May 12, 2001" (long date)
//   %X  "14:05:09"                %c   "05/12/01 14:05:09"
// The flag '#' drops leading zeros from the numbers (and turns %x and %c
// into their long forms). Anything else is copied as written.

#include <ctime>
#include <string>
#include <string_view>

std::string FormatEnglishTime(std::string_view format, const std::tm& time);

// The C library's zone name of a broken-down time ("CET", "UTC"); empty
// when it has none.
std::string ZoneName(const std::tm& time);
