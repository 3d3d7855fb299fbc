#include "config/ConfigurationSnapshot.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Controls.h"
#include "platform/TextFile.h"
#include "sound/SoundCardMenu.h"

namespace {

constexpr std::size_t kLineBuffer = 256;
const std::string kDashes(76, '-');

// The running card (0..3 for cards 1..4) in the initialization file's form.
int storedCardForm(int running) { return running >= 0 && running <= 3 ? running + 1 : running; }

std::string firstWord(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return {};
    return line.substr(start, line.find_first_of(" \t\r\n", start) - start);
}


}  // namespace

void ConfigurationSnapshot::Save() {
    TextFileWriter file;
    if (!file.open(kFileName, TextFileWriter::Mode::Truncate)) return;
    char line[512];
    auto text = [&](const char* pattern, const std::string& value) {
        std::snprintf(line, sizeof line, pattern, value.c_str());
        file.write(line);
    };
    auto number = [&](const char* pattern, int value) {
        std::snprintf(line, sizeof line, pattern, value);
        file.write(line);
    };
    auto real = [&](const char* pattern, double value) {
        std::snprintf(line, sizeof line, pattern, value);
        file.write(line);
    };
    ProgramState& s = state_;
    text("%-15s\tm_CommPort\n", s.m_CommPort);
    real("%-15f\tBAUD\n", static_cast<double>(s.BAUD.load()));
    number("%-15d\tTxLine\n", s.TxLine);
    number("%-15d\tMODE\n", s.MODE);
    number("%-15d\tDATABITS\n", s.DATABITS);
    number("%-15d\ttimerTick\n", s.timerTick);
    number("%-15d\tmorseTick\n", s.morseTick);
    number("%-15d\tCWTimer\n", s.CWTimer);
    number("%-15d\tscheduleEnable\n", s.scheduleEnable);
    number("%-15d\ttransferCancel\n", s.transferCancel);
    number("%-15d\tnotSending\n", s.notSending);
    number("%-15d\ttransferSend\n", s.transferSend);
    number("%-15d\tsendNow\n", s.sendNow);
    number("%-15d\tlocalLock\n", s.localLock);
    number("%-15d\theaderEnable\n", s.headerEnable);
    number("%-15d\tKOVAAutoStart\n", s.KOVAAutoStart);
    number("%-15dKOVASchedulerStartEnabled\n", s.KOVASchedulerStartEnabled);
    number("%-15d\tdiddleEnable\n", s.diddleEnable);
    number("%-15d\ttransmitOn\n", s.transmitOn);
    number("%-15d\tsendBreakSignal\n", s.sendBreakSignal);
    number("%-15d\tcheckNoTimer\n", s.checkNoTimer);
    number("%-15d\tsoundCardID\n", storedCardForm(s.soundCardID));
    number("%-15d\tcwTimerCheck\n", s.cwTimerCheck);
    real("%-15f\tmarkTone\n", s.markTone);
    real("%-15f\tspaceTone\n", s.spaceTone);
    text("%-15s\tipAddress\n", s.ipAddress);
    text("%-15s\tipPort\n", s.ipPort);
    text("%-15s\tipAuthentication\n", s.ipAuthentication);
    number("%-15d\tKOVAAutoLine72\n", s.KOVAAutoLine72);
    number("%-15d\tKOVAUseSubjectFileName\n", s.KOVAUseSubjectFileName);
    number("%-15d\tSMTP_Port_Number1\n", s.SMTP_Port_Number1);
    number("%-15d\tSMTP_Port_Number2\n", s.SMTP_Port_Number2);
    text("%-15s\tKOVAEmailAddress\n", s.KOVAEmailAddress);
    number("%-15d\tKOVATelnetPortNumber\n", s.KOVATelnetPortNumber);
    number("%-15d\tKOVAAdminPortNumber\n", s.KOVAAdminPortNumber);
    file.close(true);
}

void ConfigurationSnapshot::RestoreAtStartUp() { restoreFields(); }

void ConfigurationSnapshot::RestoreFromMenu() {
    if (!restoreFields()) return;
    soundMenu_.RestoreStoredCard(state_.soundCardID);
}

// The session flags are read but not applied: a snapshot saved during a
// transmission must not leave a restarted station locked.
bool ConfigurationSnapshot::restoreFields() {
    TextFileReader file;
    if (!file.open(kFileName)) return false;
    log_.write(kDashes);
    log_.write("CONFIG FILE \"Tarvik.cfg\" WILL BE REPLACING \"Tarvik.ini\" Settings");

    ProgramState& s = state_;
    int sessionFlag = 0;
    // A blank line holds no word and leaves the text as it was: an empty
    // recipient mailbox would take mail for everyone.
    auto text = [](auto& field) {
        return [&field](const std::string& word) {
            if (!word.empty()) field = word;
        };
    };
    auto integer = [](Int& field) {
        return [&field](const std::string& word) {
            int value = 0;
            if (std::sscanf(word.c_str(), "%d", &value) == 1) field = value;
        };
    };
    auto ignored = [&sessionFlag](const std::string& word) { std::sscanf(word.c_str(), "%d", &sessionFlag); };
    const std::function<void(const std::string&)> readers[kLinesRead] = {
        text(s.m_CommPort),
        [&s](const std::string& word) {
            float value = 0;
            if (std::sscanf(word.c_str(), "%f", &value) == 1) s.BAUD = value;
        },
        integer(s.TxLine), integer(s.MODE), integer(s.DATABITS), integer(s.timerTick), integer(s.morseTick),
        integer(s.CWTimer), integer(s.scheduleEnable), ignored, ignored, ignored, ignored, ignored,
        integer(s.headerEnable), integer(s.KOVAAutoStart), integer(s.KOVASchedulerStartEnabled),
        integer(s.diddleEnable), integer(s.transmitOn), integer(s.sendBreakSignal), integer(s.checkNoTimer),
        integer(s.soundCardID), integer(s.cwTimerCheck),
        [&s](const std::string& word) {
            double value = 0;
            if (std::sscanf(word.c_str(), "%lf", &value) == 1) s.markTone = value;
        },
        [&s](const std::string& word) {
            double value = 0;
            if (std::sscanf(word.c_str(), "%lf", &value) == 1) s.spaceTone = value;
        },
        text(s.ipAddress), text(s.ipPort), text(s.ipAuthentication), integer(s.KOVAAutoLine72),
        integer(s.KOVAUseSubjectFileName), integer(s.SMTP_Port_Number1), integer(s.SMTP_Port_Number2),
        text(s.KOVAEmailAddress), integer(s.KOVATelnetPortNumber),
    };
    std::string line;
    for (const auto& read : readers) {
        if (!file.readLine(line, kLineBuffer)) break;  // a short snapshot stops at its end
        read(firstWord(line));
        log_.write(line);
    }
    window_.checkMenuItem(Id::Autostart, s.KOVAAutoStart != 0);
    window_.checkMenuItem(Id::Header, s.headerEnable != 0);
    if (syncRecipientMenu_) syncRecipientMenu_();
    log_.write(kDashes);
    return true;
}
