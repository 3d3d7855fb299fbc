#include "web/ScheduleText.h"

#include <algorithm>

#include "app/EventLog.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "transmit/ScheduleReader.h"

namespace {

std::string withoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

}  // namespace

std::optional<std::string> ScheduleText::Read(const std::string& path) const {
    std::string text;
    if (!ReadTextFile(path, text)) return std::nullopt;
    return text;
}

std::optional<ScheduleText::Problem> ScheduleText::Check(const std::string& text) {
    const std::string lines = withoutCarriageReturns(text);
    int number = 0;
    for (std::size_t start = 0; start < lines.size();) {
        std::size_t end = std::min(lines.find('\n', start), lines.size());
        ++number;
        if (std::optional<std::string> problem = ScheduleReader::LineProblem(lines.substr(start, end - start)))
            return Problem{number, *problem};
        start = end + 1;
    }
    return std::nullopt;
}

bool ScheduleText::Replace(const std::string& path, const std::string& text) {
    const std::string fresh = path + ".new";
    TextFileWriter file;
    bool written = file.open(fresh, TextFileWriter::Mode::Truncate) && file.write(withoutCarriageReturns(text));
    if (!file.close(true) || !written || !ReplaceFile(fresh, path)) {
        log_.writef("Web: %s could not be written, the list is as it was", path.c_str());
        RemoveFile(fresh);
        return false;
    }
    log_.writef("Web: %s replaced", path.c_str());
    return true;
}
