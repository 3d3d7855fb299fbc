#pragma once
// The reader of Tarvik.ini, the operator's configuration: key lines read in
// full at start-up, and again for the moderated-word keys alone on every
// reload. Keys match as substrings of the prepared key part, in table order.
// Word lists are built aside and swapped in whole. Window thread.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/SharedText.h"

class EventLog;
struct ProgramState;

class InitializationFile {
public:
    static constexpr const char* kFileName = "Tarvik.ini";
    static constexpr std::size_t kLineBuffer = 1023;

    // MODE= and BAUD= values go to the script-command interpreter.
    using ScriptRunner = std::function<void(const std::string& command)>;

    InitializationFile(ProgramState& state, EventLog& log, ScriptRunner runScript)
        : state_(state), log_(log), runScript_(std::move(runScript)) {}

    void Read(bool reloadOnly);
    // The reload of the word lists that the schedule's reload command and start-up make.
    void ReloadModeratedWords();

private:
    struct WordCollector {
        const char* name;
        std::vector<std::string> words;
        bool overflowLogged = false;
    };
    struct Lists {
        WordCollector bad{"KOVABADWORD", {}, false};
        WordCollector moderated{"KOVAMODERATEDWORD", {}, false};
        WordCollector autoModerated{"KOVAAUTOMODERATEDWORD", {}, false};
    };
    void readFullKeys(const std::string& line, Lists& lists);
    void readNumberKeys(const std::string& line);
    std::optional<int> numberKey(const std::string& line, const char* key);
    void readTextKeys(const std::string& line);
    void readAlwaysKeys(const std::string& line, Lists& lists);
    void addWord(WordCollector& list, const std::string& line);
    void setAutoLine(int value);
    void setTxLine(const std::string& value);
    void setPassword(SharedText<256>& field, const char* key, const std::string& value, const char* whenEmpty,
                     const char* whenSet);

    ProgramState& state_;
    EventLog& log_;
    ScriptRunner runScript_;
};
