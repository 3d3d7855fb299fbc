#include "editor/ScheduleLineForm.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/Words.h"
#include "transmit/TimeTag.h"

namespace {

constexpr char kTimeMarker = 't';
// Characters of a time kept on saving ("hh:mm:ss").
constexpr std::size_t kSavedTimeLength = 8;

std::string format(const char* pattern, auto... values) {
    int length = std::snprintf(nullptr, 0, pattern, values...);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, values...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string startText(std::time_t start) {
    std::tm local{};
    localtime_r(&start, &local);
    return format("%02d/%02d/%4d  %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec);
}

std::string sizeAndDuration(const ListedName& name, const std::string& duration) {
    return format("%-40s  %5lld %9s", name.column.c_str(), name.size, duration.c_str());
}

bool isListDate(const std::string& date) {
    if (date.size() != 10) return false;
    for (std::size_t i = 0; i < date.size(); ++i) {
        bool slash = i == 2 || i == 5;
        if (slash ? date[i] != '/' : !std::isdigit(static_cast<unsigned char>(date[i]))) return false;
    }
    return true;
}

}  // namespace

ListedName MarkName(const std::string& name, long long fileSize, bool timed) {
    if (fileSize != 0) return {name, fileSize};
    bool command = !name.empty() && name[0] == '$';
    return {format(timed ? "%-21s %s" : "%-35s %s", name.c_str(), command ? "CMD" : "???"), command ? 1 : 0};
}

std::string FormatDuration(long long seconds) {
    if (seconds == 0) return {};
    return format("%4lld:%02lld", seconds / 60, seconds % 60);
}

std::string TimedDisplayLine(const std::string& date, const std::string& time, const ListedName& name,
                             const std::string& duration) {
    return format("%s  %s%c ", date.c_str(), time.c_str(), kTimeMarker) + sizeAndDuration(name, duration);
}

std::string UntimedDisplayLine(const ListedName& name, const std::string& duration) {
    return std::string(22, ' ') + sizeAndDuration(name, duration);
}

std::string StartedDisplayLine(std::time_t start, const ListedName& name, const std::string& duration) {
    return startText(start) + "  " + sizeAndDuration(name, duration);
}

std::string ScheduleFileLine(const std::string& displayLine) {
    std::vector<std::string> words = SplitWords(displayLine, 3);
    words.resize(3);
    if (displayLine.empty() || displayLine[0] == ' ') return words[0] + "\n";
    std::size_t marker = words[1].find(kTimeMarker);
    if (marker == std::string::npos) return words[2] + "\n";
    // The marker goes, however short the time was written.
    std::string time = words[1].substr(0, std::min(marker, kSavedTimeLength));
    return words[0] + "\t" + time + "\t" + words[2] + "\n";
}

std::string StartedEntry(std::time_t start, const std::string& name) { return startText(start) + "  " + name; }

std::optional<std::string> TypedEntry(const std::string& date, const std::string& time, const std::string& name) {
    if (date.empty() && time.empty()) return format("%10s  %8s  %s", "", "", name.c_str());
    std::optional<int64_t> tag = ParseTimeTag(date + " " + time);
    if (!isListDate(date) || !tag || *tag <= 0) return std::nullopt;
    return format("%10s  %8s%c  %s", date.c_str(), time.c_str(), kTimeMarker, name.c_str());
}
