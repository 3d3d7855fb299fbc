#include "config/InitializationFile.h"

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "app/WordList.h"
#include "config/IniValues.h"
#include "platform/AsciiText.h"
#include "platform/TextFile.h"

namespace {

constexpr int kDefaultAutoLine = 68;
constexpr int kShortestAutoLine = 46;
constexpr int kLongestAutoLine = 80;
constexpr std::size_t kLongestCallSign = 16;
// The data path prefixes the longest folder name built from it within 256 bytes.
constexpr std::size_t kLongestDataPath = 255 - sizeof("approvedmoderatedwords");

bool has(const std::string& key, const char* name) { return key.find(name) != std::string::npos; }

// The line with its key part prepared and its value as written.
std::string preparedLine(const std::string& line) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) return line;
    return IniPreparedKey(line) + line.substr(equals);
}

}  // namespace

void InitializationFile::ReloadModeratedWords() {
    log_.write("Reloading Moderated Words");
    Read(true);
}

void InitializationFile::Read(bool reloadOnly) {
    Lists lists;
    if (!reloadOnly) {
        state_.KOVAAutoLine72 = 0;
        state_.KOVAUseSubjectFileName = 1;
        state_.SMTP_Port_Number1 = 25;
        state_.SMTP_Port_Number2 = 593;
        state_.KOVATelnetPortNumber = 23;
        state_.KOVAAdminPortNumber = 2323;
    }
    TextFileReader file;
    if (file.open(kFileName)) {
        std::string raw;
        while (file.readLine(raw, kLineBuffer)) {
            std::string line = raw.substr(0, raw.find("//"));
            line = line.substr(0, line.find('\n'));
            std::string prepared = preparedLine(line);
            if (!reloadOnly) readFullKeys(prepared, lists);
            readAlwaysKeys(prepared, lists);
        }
    } else {
        log_.writef("Unable to open Input file %s\n\r", kFileName);
    }
    if (!reloadOnly) state_.badWords.replace(std::move(lists.bad.words));
    state_.moderatedWords.replace(std::move(lists.moderated.words));
    state_.autoModeratedWords.replace(std::move(lists.autoModerated.words));
}

// The lists hold 500 words each; the 501st and later are dropped, with one line.
void InitializationFile::addWord(WordCollector& list, const std::string& line) {
    std::optional<std::string> word = IniQuoted(line);
    if (!word) return;
    if (static_cast<int>(list.words.size()) < WordList::kMaxWords) {
        list.words.push_back(AsciiUpper(*word));
    } else if (!list.overflowLogged) {
        list.overflowLogged = true;
        log_.writef("INIT %s - list full at %d words, \"%s\" and later ones dropped", list.name,
                    WordList::kMaxWords, word->c_str());
    }
}

void InitializationFile::setAutoLine(int value) {
    state_.KOVAAutoLine72 = value;
    if (value >= kShortestAutoLine && value <= kLongestAutoLine) {
        log_.writef("INIT KOVAAutoLine72 - Max num of char per line set to %d", value);
    } else {
        state_.KOVAAutoLine72 = kDefaultAutoLine;
        log_.writef("INIT KOVAAutoLine72 - Error: Max num %d too big, using 68", value);
    }
}

void InitializationFile::setTxLine(const std::string& value) {
    struct Choice { const char* prefix; int txLine; };
    static constexpr Choice kChoices[] = {
        {"NON", 32806}, {"DTRRTS", 32807}, {"RTSDTR", 32808}, {"DTR", 32807}, {"RTS", 32808}};
    int txLine = 32806;
    for (const Choice& choice : kChoices) {
        if (value.compare(0, std::string(choice.prefix).size(), choice.prefix) == 0) {
            txLine = choice.txLine;
            break;
        }
    }
    state_.TxLine = txLine;
    const char* name = txLine == 32807 ? "ID_RS232CONTROL_RTS" : txLine == 32808 ? "ID_RS232CONTROL_DTR"
                                                                                 : "ID_RS232CONTROL_DISABLED";
    log_.writef("RS-232 Control set to %s transmit line control.", name);
}

void InitializationFile::readFullKeys(const std::string& line, Lists& lists) {
    if (has(line, "KOVAEMAILSMTPPORTS")) {
        if (auto ports = IniIntPair(line, "KOVAEMAILSMTPPORTS")) {
            state_.SMTP_Port_Number1 = ports->first;
            state_.SMTP_Port_Number2 = ports->second;
            log_.writef("SMTP Email Ports set to Primary=%d and Secondary=%d", ports->first, ports->second);
        }
    }
    readNumberKeys(line);
    if (has(line, "KOVABADWORD=")) addWord(lists.bad, line);
    readTextKeys(line);
    if (std::optional<int> card = numberKey(line, "KOVASOUNDCARDID")) {
        state_.soundCardID = *card;
        log_.writef("INIT KOVASoundCardID set to %d", state_.soundCardID.load());
    }
    struct Flag { const char* key; Int& field; const char* text; };
    const Flag flags[] = {
        {"KOVAAUTOSTART", state_.KOVAAutoStart, "INIT KOVAAutoStart set to %d"},
        {"KOVAHEADER", state_.headerEnable, "INIT KOVAHeader set to %d"},
        {"KOVASCHEDULERENABLE", state_.scheduleEnable, "INIT KOVAscheduleEnable set to %d"},
        {"KOVASCHEDULERSTARTENABLED", state_.KOVASchedulerStartEnabled, "INIT KOVASchedulerStartEnabled set to %d"},
        {"KOVANOTIMER", state_.checkNoTimer, "INIT checkNoTimer set to %d"},
    };
    for (const Flag& flag : flags) {
        std::optional<int> value = numberKey(line, flag.key);
        if (!value) continue;
        flag.field = *value;
        if (&flag.field == &state_.scheduleEnable) state_.schedulerEnableSetting = flag.field.load();
        log_.writef(flag.text, flag.field.load());
    }
    if (has(line, "KOVAFREQUENCIES")) {
        if (auto tones = IniRealPair(line, "KOVAFREQUENCIES")) {
            state_.markTone = tones->first;
            state_.spaceTone = tones->second;
            log_.writef("Sound Card Frequencies Mark=%f and Space=%f", tones->first, tones->second);
        }
    }
}

// A number key's value; a line without '=' has none and leaves the field as
// it was (only the number pairs may be written without '=').
std::optional<int> InitializationFile::numberKey(const std::string& line, const char* key) {
    if (!has(line, key)) return std::nullopt;
    if (line.find('=') == std::string::npos) {
        log_.writef("INIT %s without \"=\" ignored, the setting is unchanged", key);
        return std::nullopt;
    }
    return IniNumber(line);
}

void InitializationFile::readNumberKeys(const std::string& line) {
    if (std::optional<int> port = numberKey(line, "KOVATELNETPORTNUMBER")) {
        state_.KOVATelnetPortNumber = *port;
        log_.writef("INIT KOVATelnetPortNumber set to %d", state_.KOVATelnetPortNumber.load());
    }
    if (std::optional<int> port = numberKey(line, "KOVAADMINPORTNUMBER")) {
        state_.KOVAAdminPortNumber = *port;
        log_.writef("INIT KOVAAdminPortNumber set to %d", state_.KOVAAdminPortNumber.load());
    }
    if (std::optional<int> length = numberKey(line, "KOVAAUTOLINE72")) setAutoLine(*length);
    if (std::optional<int> megabytes = numberKey(line, "KOVAMAXDATAMB")) {
        state_.KOVAMaxDataMB = *megabytes;
        log_.writef("INIT KOVAMaxDataMB set to %d", state_.KOVAMaxDataMB.load());
    }
    if (std::optional<int> port = numberKey(line, "KOVAWEBPORT")) {
        state_.KOVAWebPort = *port;
        log_.writef("INIT KOVAWebPort set to %d", state_.KOVAWebPort.load());
    }
    if (std::optional<int> useSubject = numberKey(line, "KOVAUSESUBJECTFILENAME")) {
        state_.KOVAUseSubjectFileName = *useSubject;
        log_.write(state_.KOVAUseSubjectFileName ? "INIT KOVAUseSubjectFileName - Filename used for filenames"
                                                 : "INIT KOVAUseSubjectFileName - Date/Time Stamp format used for filenames");
    }
}

void InitializationFile::readTextKeys(const std::string& line) {
    if (has(line, "KOVAEMAILADDRESS=")) {
        if (auto value = IniQuoted(line)) {
            state_.KOVAEmailAddress = AsciiUpper(*value);
            log_.writef("KOVAEmailAddress overridden and set to \"%s\"", state_.KOVAEmailAddress.get().c_str());
        }
    }
    if (has(line, "KOVACALLSIGN=")) {
        if (auto value = IniQuoted(line)) {
            if (value->size() > kLongestCallSign)
                log_.writef("KOVACallsign \"%s\" is longer than %zu characters and is cut", value->c_str(),
                            kLongestCallSign);
            state_.KOVACallsign = AsciiUpper(value->substr(0, kLongestCallSign));
            log_.writef("KOVACallsign overridden and set to \"%s\"", state_.KOVACallsign.get().c_str());
        }
    }
    if (has(line, "KOVACOMMPORT=")) {
        if (auto value = IniQuoted(line)) {
            state_.m_CommPort = AsciiUpper(*value);
            log_.writef("KOVACommPort overridden and set to \"%s\"", state_.m_CommPort.get().c_str());
        }
    }
    if (has(line, "KOVALISTENADDRESS=")) {
        if (auto value = IniQuoted(line)) {
            state_.KOVAListenAddress = *value;
            log_.writef("INIT KOVAListenAddress set to \"%s\"", state_.KOVAListenAddress.get().c_str());
        }
    }
    if (has(line, "KOVAWEBADDRESS=")) {
        if (auto value = IniQuoted(line)) {
            state_.KOVAWebAddress = *value;
            log_.writef("INIT KOVAWebAddress set to \"%s\"", state_.KOVAWebAddress.get().c_str());
        }
    }
    if (has(line, "KOVADATAPATH=")) {
        if (auto value = IniQuoted(line)) {
            if (value->size() > kLongestDataPath) {
                log_.writef("KOVADataPath \"%s\" is too long, keeping \"%s\"", value->c_str(),
                            state_.KOVADataPath.get().c_str());
            } else {
                state_.KOVADataPath = *value;
                log_.writef("KOVADataPath overridden and set to \"%s\"", state_.KOVADataPath.get().c_str());
            }
        }
    }
    for (const char* key : {"MODE=", "BAUD="})
        if (has(line, key))
            if (auto value = IniQuoted(line)) runScript_(*value);
    if (has(line, "KOVARS232CONTROL=")) {
        if (auto value = IniQuoted(line)) setTxLine(AsciiUpper(*value));
    }
    if (has(line, "KOVAADMINPASSWORD=")) {
        if (auto value = IniQuoted(line))
            setPassword(state_.KOVAAdminPassword, "KOVAAdminPassword", *value,
                        "the ADMIN session asks for no password", "the ADMIN session asks for it after the user name");
    }
    if (has(line, "KOVAWEBPASSWORD=")) {
        if (auto value = IniQuoted(line))
            setPassword(state_.KOVAWebPassword, "KOVAWebPassword", *value, "the web service serves loopback only",
                        "every web request must give it");
    }
}

// Kept as written, case and all; the log never shows it.
void InitializationFile::setPassword(SharedText<256>& field, const char* key, const std::string& value,
                                     const char* whenEmpty, const char* whenSet) {
    const std::size_t longest = field.capacity - 1;
    if (value.size() > longest)
        log_.writef("%s is longer than %zu characters and is cut to its first %zu", key, longest, longest);
    field = value;
    log_.writef("%s %s: %s", key, value.empty() ? "empty" : "set", value.empty() ? whenEmpty : whenSet);
}

void InitializationFile::readAlwaysKeys(const std::string& line, Lists& lists) {
    if (has(line, "KOVAMODERATEDWORD=")) addWord(lists.moderated, line);
    if (has(line, "KOVAAUTOMODERATEDWORD=")) addWord(lists.autoModerated, line);
}
