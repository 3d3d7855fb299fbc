#include "platform/EnglishTime.h"

#include <cstdio>

namespace {

constexpr const char* kWeekdays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

std::string weekday(const std::tm& time) {
    return time.tm_wday >= 0 && time.tm_wday < 7 ? kWeekdays[time.tm_wday] : "?";
}

std::string month(const std::tm& time) {
    return time.tm_mon >= 0 && time.tm_mon < 12 ? kMonths[time.tm_mon] : "?";
}

std::string number(int value, int width, bool dropZeros) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", dropZeros ? 1 : width, value);
    return text;
}

int twelveHour(int hour) {
    int h = hour % 12;
    return h == 0 ? 12 : h;
}

std::string convert(char conversion, bool alternate, const std::tm& t) {
    switch (conversion) {
    case 'a': return weekday(t).substr(0, 3);
    case 'A': return weekday(t);
    case 'b': return month(t).substr(0, 3);
    case 'B': return month(t);
    case 'd': return number(t.tm_mday, 2, alternate);
    case 'H': return number(t.tm_hour, 2, alternate);
    case 'I': return number(twelveHour(t.tm_hour), 2, alternate);
    case 'm': return number(t.tm_mon + 1, 2, alternate);
    case 'M': return number(t.tm_min, 2, alternate);
    case 'p': return t.tm_hour < 12 ? "AM" : "PM";
    case 'S': return number(t.tm_sec, 2, alternate);
    case 'y': return number((t.tm_year + 1900) % 100, 2, alternate);
    case 'Y': return number(t.tm_year + 1900, 1, alternate);
    case 'Z': return ZoneName(t);
    case 'X':
        return number(t.tm_hour, 2, false) + ":" + number(t.tm_min, 2, false) + ":" +
               number(t.tm_sec, 2, false);
    case 'x':
        if (alternate)
            return weekday(t) + ", " + month(t) + " " + number(t.tm_mday, 2, true) + ", " +
                   number(t.tm_year + 1900, 1, false);
        return number(t.tm_mon + 1, 2, false) + "/" + number(t.tm_mday, 2, false) + "/" +
               number((t.tm_year + 1900) % 100, 2, false);
    case 'c': return convert('x', alternate, t) + " " + convert('X', alternate, t);
    case '%': return "%";
    default: return std::string("%") + (alternate ? "#" : "") + conversion;
    }
}

}  // namespace

std::string ZoneName(const std::tm& time) {
    // glibc keeps the name beside the broken-down time.
    return time.tm_zone != nullptr ? time.tm_zone : "";
}

std::string FormatEnglishTime(std::string_view format, const std::tm& time) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out.push_back(format[i]);
            continue;
        }
        bool alternate = format[i + 1] == '#';
        std::size_t at = i + (alternate ? 2 : 1);
        if (at >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        out += convert(format[at], alternate, time);
        i = at;
    }
    return out;
}
