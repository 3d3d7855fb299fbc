#pragma once
// The three screening checks of a stored message (bad, moderated and
// auto-moderated words), with the line-length test and, while autostart is
// off, the duplicate test against the transmit queue. Only the bad-word check
// reports: its text goes to the log and is appended to the message file.
// Runs on SMTP session threads; the word lists are read as whole snapshots
// and the queue's rows through the window's controls.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class Controls;
class EventLog;
struct ProgramState;

namespace ScreeningCode {
constexpr int Passed = 0;
constexpr int Unreadable = -1;
constexpr int LineTooLong = -17;
constexpr int BadWord = -18;
constexpr int Duplicate = -18;
constexpr int ModeratedWord = -22;
constexpr int AutoModeratedWord = -23;
}  // namespace ScreeningCode

struct ScreeningResult {
    int code = ScreeningCode::Passed;
    int lineNumber = 0;
    std::size_t length = 0;
    std::string word;
};

// One pass over the file's text (line feeds for line ends): the first line
// longer than `lineLimit` (unless it holds two CRs in a row), else the first
// line holding a word of `words` (upper case, anywhere), in list order.
ScreeningResult ScreenText(std::string_view text, const std::vector<std::string>& words, int lineLimit,
                           int wordCode);

class MessageScreening {
public:
    MessageScreening(ProgramState& state, EventLog& log, Controls& window)
        : state_(state), log_(log), window_(window) {}

    int CheckBadWords(const std::string& path, const std::string& name);
    int CheckModeratedWords(const std::string& path, const std::string& name);
    int CheckAutoModeratedWords(const std::string& path, const std::string& name);
    // The duplicate test: a line of the transmit queue names `name`, in any
    // letter case, or a message of that name is on its way there.
    bool IsQueued(const std::string& name);
    // A message handed to the queue whose line is not there yet, and its arrival.
    void OnItsWay(const std::string& name);
    void Arrived(const std::string& name);
    // The rejection as the bad-word check reports it: to the log, and
    // appended to the message file between two rulers.
    void ReportRejection(const std::string& path, const std::string& text);

private:
    ScreeningResult screen(const std::string& path, const std::vector<std::string>& words, int wordCode);

    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    std::mutex wayLock_;
    // Upper case, one entry a message.
    std::vector<std::string> onTheirWay_;
};
