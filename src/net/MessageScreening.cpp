#include "net/MessageScreening.h"

#include <algorithm>
#include <cstring>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/AsciiText.h"
#include "platform/Controls.h"
#include "platform/TextFile.h"

ScreeningResult ScreenText(std::string_view text, const std::vector<std::string>& words, int lineLimit,
                           int wordCode) {
    ScreeningResult result;
    std::size_t from = 0;
    for (int number = 1; from < text.size(); ++number) {
        std::size_t end = text.find('\n', from);
        end = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(from, end - from);
        from = end;
        std::size_t n = LengthWithoutLineEnd(line);
        if (static_cast<long long>(n) > lineLimit && line.find("\r\r") == std::string_view::npos)
            return {ScreeningCode::LineTooLong, number, n, {}};
        std::string upper = AsciiUpper(line.substr(0, n));
        for (const std::string& word : words)
            if (upper.find(word) != std::string::npos) return {wordCode, number, n, word};
    }
    return result;
}

// Without regard to letter case, as the queue finds its files.
bool MessageScreening::IsQueued(const std::string& name) {
    {
        std::lock_guard<std::mutex> hold(wayLock_);
        if (AnyHoldsWithoutCase(onTheirWay_, name)) return true;
    }
    return window_.listHasItemContaining(Id::QueueList, name);
}

void MessageScreening::OnItsWay(const std::string& name) {
    std::lock_guard<std::mutex> hold(wayLock_);
    onTheirWay_.push_back(AsciiUpper(name));
}

void MessageScreening::Arrived(const std::string& name) {
    std::lock_guard<std::mutex> hold(wayLock_);
    auto found = std::find(onTheirWay_.begin(), onTheirWay_.end(), AsciiUpper(name));
    if (found != onTheirWay_.end()) onTheirWay_.erase(found);
}

ScreeningResult MessageScreening::screen(const std::string& path, const std::vector<std::string>& words,
                                         int wordCode) {
    std::string text;
    if (!ReadTextFile(path, text)) return {ScreeningCode::Unreadable, 0, 0, {}};
    return ScreenText(text, words, state_.KOVAAutoLine72, wordCode);
}

int MessageScreening::CheckBadWords(const std::string& path, const std::string& name) {
    if (!state_.KOVAAutoStart && IsQueued(name)) {
        ReportRejection(path, EventLog::Formatted("ERROR - Duplicate Message \"%s\" already in queue", name.c_str()));
        return ScreeningCode::Duplicate;
    }
    ScreeningResult result = screen(path, *state_.badWords.words(), ScreeningCode::BadWord);
    switch (result.code) {
    case ScreeningCode::Passed: break;
    case ScreeningCode::Unreadable:
        // Appended all the same: a file that is not there is made, with the note alone.
        ReportRejection(path, EventLog::Formatted("ERROR - Unable to Check Message \"%s\", possible bad filename\n\r",
                                                  path.c_str()));
        break;
    case ScreeningCode::LineTooLong:
        ReportRejection(path, EventLog::Formatted("ERROR - Line %d has %zu characters, only %d max are allowed",
                                                  result.lineNumber, result.length, state_.KOVAAutoLine72.load()));
        break;
    default:
        ReportRejection(path,
                        EventLog::Formatted("ERROR - Message Contained bad word \"%s\" in text", result.word.c_str()));
        break;
    }
    return result.code;
}

// Once the bad-word check has passed, the name is not queued and every line
// fits: these two checks can differ from it only in their word lists.
int MessageScreening::CheckModeratedWords(const std::string& path, const std::string& name) {
    return screen(path, *state_.moderatedWords.words(), ScreeningCode::ModeratedWord).code;
}

int MessageScreening::CheckAutoModeratedWords(const std::string& path, const std::string& name) {
    return screen(path, *state_.autoModeratedWords.words(), ScreeningCode::AutoModeratedWord).code;
}

void MessageScreening::ReportRejection(const std::string& path, const std::string& text) {
    log_.write(text);
    TextFileWriter file;
    bool written = file.open(path, TextFileWriter::Mode::Append) &&
                   file.write("\n\n=======================\n" + text + "\n=======================\n");
    if (!file.close() || !written) log_.writef("Unable to write %s output file", path.c_str());
}
