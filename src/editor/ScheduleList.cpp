#include "editor/ScheduleList.h"

#include <algorithm>
#include <optional>

#include "app/ProgramState.h"
#include "coding/LineTables.h"
#include "editor/EditorIds.h"
#include "editor/FileChoices.h"
#include "editor/ScheduleLineForm.h"
#include "platform/AsciiText.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "platform/Words.h"
#include "transmit/ScheduleReader.h"
#include "transmit/TimeTag.h"

namespace {

bool startsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The list compares a baud line on at most six characters ("$B1920" for $B19200).
constexpr std::size_t kBaudCompareLength = 6;

// The speed of the longest baud command that begins the name, or nullptr.
const BaudRate* listBaudLine(const std::string& name) {
    const BaudRate* best = nullptr;
    std::size_t bestLength = 0;
    for (const BaudRate& rate : kBaudRates) {
        std::string key = ("$" + std::string(rate.scriptCommand)).substr(0, kBaudCompareLength);
        if (key.size() > bestLength && startsWith(name, key)) {
            best = &rate;
            bestLength = key.size();
        }
    }
    return best;
}

// The fixed data/ folder below the working directory, as the schedule reader looks.
long long entrySize(const std::string& name) { return FileSize("data/" + name); }

}  // namespace

void ScheduleList::LoadList(const std::string& path) {
    Reading reading;
    reading.autoTime = window_.menuItemChecked(EditorId::AutoTime);
    state_.autoTimeShown = reading.autoTime;
    window_.listReset(EditorId::EntryList);
    TextFileReader file;
    if (!file.open(path)) return;
    reading.now = clock_.nowSeconds();
    reading.start = reading.now + kFirstEntryDelaySeconds;
    // Whole lines: a name cut at a buffer's end would be saved back as two entries.
    std::string line, piece;
    while (file.readLine(piece, 256)) {
        line += piece;
        if (piece.back() != '\n') continue;
        loadLine(line, reading);
        line.clear();
    }
    if (!line.empty()) loadLine(line, reading);
    file.close();
    choices_.RebuildFileChoices();
}

void ScheduleList::loadLine(const std::string& read, Reading& reading) {
    std::string line = read.substr(0, read.find('\0'));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.empty()) return;
    std::replace(line.begin(), line.end(), '\t', ' ');
    std::vector<std::string> words = SplitWords(line, 3);
    if (!words.empty()) noteListCommand(AsciiUpper(words.size() == 3 ? words[2] : words[0]));
    state_.editorCharTime = ScheduleReader::CharTimeFor(state_.MODE, state_.editorBaud);
    if (words.size() == 1) addUntimed(words[0], line, reading);
    else if (words.size() == 3) addTimed(line, words, reading);
}

void ScheduleList::noteListCommand(const std::string& name) {
    if (const BaudRate* rate = listBaudLine(name)) {
        state_.editorBaud = rate->baud;
        return;
    }
    for (const PskFrequency& frequency : kPskFrequencies) {
        if (!startsWith(name, "$" + std::string(frequency.scriptCommand))) continue;
        state_.pskFrequency = frequency.hertz;
        return;
    }
}

std::string ScheduleList::durationOf(long long size) const {
    return FormatDuration(static_cast<long long>(static_cast<float>(size) * state_.editorCharTime));
}

// The size is that of the file named by the whole line, blanks and all: a
// stray blank after the name shows the entry as missing.
void ScheduleList::addUntimed(const std::string& name, const std::string& line, Reading& reading) {
    if (tooOld(reading.start, reading)) return;
    reading.start += static_cast<int64_t>(static_cast<float>(reading.previousSize) * state_.editorCharTime);
    ListedName listed = MarkName(name, entrySize(line), false);
    reading.previousSize = listed.size;
    std::string duration = durationOf(listed.size);
    window_.listAdd(EditorId::EntryList,
                    reading.autoTime ? StartedDisplayLine(static_cast<std::time_t>(reading.start), listed, duration)
                                     : UntimedDisplayLine(listed, duration));
}

void ScheduleList::addTimed(const std::string& line, const std::vector<std::string>& words, Reading& reading) {
    std::optional<int64_t> tag = ParseTimeTag(line);
    if (tag && *tag > 0) reading.start = *tag;
    // A tag that does not read as a date is as good as expired: the reader drops it too.
    if (!tag || tooOld(*tag, reading)) return;
    ListedName listed = MarkName(words[2], entrySize(words[2]), true);
    reading.previousSize = listed.size;
    window_.listAdd(EditorId::EntryList, TimedDisplayLine(words[0], words[1], listed, durationOf(listed.size)));
}

void ScheduleList::SaveList(const std::string& path) {
    TextFileWriter file;
    if (!file.open(path, TextFileWriter::Mode::Truncate)) return;
    int count = window_.listCount(EditorId::EntryList);
    for (int i = 0; i < count; ++i) file.write(ScheduleFileLine(window_.listItem(EditorId::EntryList, i)));
    file.close();
}
