#include "config/SnapshotFields.h"

#include <cstdio>

#include "app/ProgramState.h"

namespace {

template <typename Value>
std::string printed(const char* pattern, Value value) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// A blank line holds no word and leaves the text as it was: an empty
// recipient mailbox would take mail for everyone.
template <std::size_t Capacity>
SnapshotField text(const char* label, SharedText<Capacity>& field) {
    return {label, true, [&field] { return field.get(); },
            [&field](const std::string& word) {
                if (!word.empty()) field = word;
            }};
}

SnapshotField integer(const char* label, Int& field, bool tabbed = true) {
    return {label, tabbed, [&field] { return std::to_string(field.load()); },
            [&field](const std::string& word) {
                int value = 0;
                if (std::sscanf(word.c_str(), "%d", &value) == 1) field = value;
            }};
}

// The session flags are read but not applied: a snapshot saved during a
// transmission must not leave a restarted station locked.
SnapshotField sessionFlag(const char* label, Int& field) {
    return {label, true, [&field] { return std::to_string(field.load()); }, {}};
}

SnapshotField real(const char* label, std::atomic<double>& field) {
    return {label, true, [&field] { return printed("%f", field.load()); },
            [&field](const std::string& word) {
                double value = 0;
                if (std::sscanf(word.c_str(), "%lf", &value) == 1) field = value;
            }};
}

SnapshotField baud(ProgramState& s) {
    return {"BAUD", true, [&s] { return printed("%f", static_cast<double>(s.BAUD.load())); },
            [&s](const std::string& word) {
                float value = 0;
                if (std::sscanf(word.c_str(), "%f", &value) == 1) s.BAUD = value;
            }};
}

// Written in the initialization file's form (1..4 for cards 1..4) and read
// back in that form; the caller turns it into the running one.
SnapshotField soundCard(ProgramState& s) {
    SnapshotField field = integer("soundCardID", s.soundCardID);
    field.value = [&s] {
        int running = s.soundCardID;
        return std::to_string(running >= 0 && running <= 3 ? running + 1 : running);
    };
    return field;
}

}  // namespace

std::vector<SnapshotField> SnapshotFields(ProgramState& s) {
    return {
        text("m_CommPort", s.m_CommPort),
        baud(s),
        integer("TxLine", s.TxLine),
        integer("MODE", s.MODE),
        integer("DATABITS", s.DATABITS),
        integer("timerTick", s.timerTick),
        integer("morseTick", s.morseTick),
        integer("CWTimer", s.CWTimer),
        integer("scheduleEnable", s.scheduleEnable),
        sessionFlag("transferCancel", s.transferCancel),
        sessionFlag("notSending", s.notSending),
        sessionFlag("transferSend", s.transferSend),
        sessionFlag("sendNow", s.sendNow),
        sessionFlag("localLock", s.localLock),
        integer("headerEnable", s.headerEnable),
        integer("KOVAAutoStart", s.KOVAAutoStart),
        integer("KOVASchedulerStartEnabled", s.KOVASchedulerStartEnabled, false),
        integer("diddleEnable", s.diddleEnable),
        integer("transmitOn", s.transmitOn),
        integer("sendBreakSignal", s.sendBreakSignal),
        integer("checkNoTimer", s.checkNoTimer),
        soundCard(s),
        integer("cwTimerCheck", s.cwTimerCheck),
        real("markTone", s.markTone),
        real("spaceTone", s.spaceTone),
        text("ipAddress", s.ipAddress),
        text("ipPort", s.ipPort),
        text("ipAuthentication", s.ipAuthentication),
        integer("KOVAAutoLine72", s.KOVAAutoLine72),
        integer("KOVAUseSubjectFileName", s.KOVAUseSubjectFileName),
        integer("SMTP_Port_Number1", s.SMTP_Port_Number1),
        integer("SMTP_Port_Number2", s.SMTP_Port_Number2),
        text("KOVAEmailAddress", s.KOVAEmailAddress),
        integer("KOVATelnetPortNumber", s.KOVATelnetPortNumber),
        integer("KOVAAdminPortNumber", s.KOVAAdminPortNumber),
    };
}

std::string SnapshotLine(const SnapshotField& field) {
    std::string value = field.value();
    if (value.size() < 15) value.resize(15, ' ');
    return value + (field.tabbed ? "\t" : "") + field.label + "\n";
}
