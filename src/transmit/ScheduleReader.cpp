#include "transmit/ScheduleReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/LineTables.h"
#include "platform/AsciiText.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/PathMap.h"
#include "platform/TextFile.h"
#include "platform/Words.h"
#include "transmit/TimeTag.h"
#include "transmit/TransmitQueue.h"

namespace {

// Bytes of "data/" + name, or 1 when there is no such file.
long long sizeOfQueueFile(const std::string& name) {
    struct stat info {};
    if (::stat(ResolvePath("data/" + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 1;
    return static_cast<long long>(info.st_size);
}

}  // namespace

float ScheduleReader::CharTimeFor(int mode, float baud) {
    if (mode == kModeAscii) return 10.0f / baud;
    if (mode == kModePsk31) return 0.25f;
    return 7.5f / baud;
}

std::optional<std::string> ScheduleReader::LineProblem(const std::string& line) {
    if (line.size() >= kLineBuffer)
        return "longer than " + std::to_string(kLineBuffer - 1) + " characters";
    if (line.find('\0') != std::string::npos) return "holds a NUL byte";
    std::vector<std::string> words = SplitWords(line);
    if (words.size() == 2) return "two words: give a file alone, or date, time and file";
    if (words.size() == 3 && ParseTimeTag(line).value_or(0) <= 0) return "date and time not as MM/DD/YYYY HH:MM:SS";
    return std::nullopt;
}

void ScheduleReader::GetSchedule(const std::string& path) {
    TextFileReader file;
    if (!file.open(path)) {
        log_.writef("GetSchedule : Cannot open %s input file.", path.c_str());
        return;
    }
    int64_t now = clock_.nowSeconds();
    state_.scheduleNextTime = now + kFirstEntryDelaySeconds;
    long long lastSize = 1;
    std::string line;
    while (file.readLine(line, kLineBuffer)) readLine(line, now, lastSize);
}

void ScheduleReader::noteBaudLine(const std::string& firstWord) {
    std::string word = AsciiUpper(firstWord);
    if (word.empty() || word[0] != '$') return;
    if (const BaudRate* rate = FindBaudByScriptPrefix(word.substr(1))) state_.scheduleBaud = rate->baud;
}

void ScheduleReader::readLine(std::string line, int64_t now, long long& lastSize) {
    line = line.substr(0, line.find('\0'));
    std::vector<std::string> words = SplitWords(line);
    if (!line.empty()) line.pop_back();
    std::replace(line.begin(), line.end(), '\t', ' ');
    if (!words.empty()) noteBaudLine(words[0]);
    state_.scheduleCharTime = CharTimeFor(state_.MODE, state_.scheduleBaud);

    if (words.size() == 1) {
        if (state_.scheduleNextTime <= now) {
            log_.writef("GetSchedule : Expired time tag %s", line.c_str());
            return;
        }
        state_.scheduleNextTime += static_cast<int64_t>(static_cast<float>(lastSize) * state_.scheduleCharTime);
        lastSize = sizeOfQueueFile(words[0]);
        queue_.append(FormatQueueEntry(static_cast<std::time_t>(state_.scheduleNextTime.load()), words[0]));
    } else if (words.size() == 3) {
        std::optional<int64_t> tag = ParseTimeTag(line);
        state_.scheduleTagTime = tag.value_or(0);
        if (tag && *tag > 0) state_.scheduleNextTime = *tag;
        if (tag && *tag > now) {
            queue_.append(line);
            lastSize = sizeOfQueueFile(words[2]);
        } else {
            log_.writef("GetSchedule : Expired time tag %s", line.c_str());
        }
    }
}

bool ScheduleReader::AppendScheduleTemp(const std::string& line, bool sync) {
    const std::string path = state_.KOVADataPath.get() + "schedule_temp.lst";
    const long long before = FileSize(path);
    TextFileWriter file;
    if (!file.open(path, TextFileWriter::Mode::Append)) {
        log_.writef("Unable to open schedule_temp.lst file for %s", line.c_str());
        return false;
    }
    bool written = file.write(line + "\n");
    if (file.close(sync) && written) return true;
    log_.writef("Unable to write schedule_temp.lst file for %s", line.c_str());
    if (::truncate(ResolvePath(path).c_str(), static_cast<off_t>(before)) != 0)
        log_.writef("Unable to take the broken line for %s off schedule_temp.lst", line.c_str());
    return false;
}

bool ScheduleReader::SyncScheduleTemp() const {
    if (SyncFile(state_.KOVADataPath.get() + "schedule_temp.lst")) return true;
    log_.write("Unable to sync schedule_temp.lst file");
    return false;
}

void ScheduleReader::OnReload() {
    queue_.ClearQueue();
    state_.transferCancel = 0;
    window_.setText(Id::SessionState, "");
    log_.write("OnReload : Reloading Schedule List");
    if (state_.KOVAAutoStart) return;
    GetSchedule(state_.scheduleTempPath);
    GetSchedule(state_.scheduleListPath);
}
