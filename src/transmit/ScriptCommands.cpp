#include "transmit/ScriptCommands.h"

#include <cstdlib>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "coding/LineTables.h"
#include "coding/SerialLine.h"
#include "coding/SerialMenus.h"
#include "config/InitializationFile.h"
#include "platform/AsciiText.h"
#include "platform/Controls.h"
#include "transmit/CwIdentification.h"
#include "transmit/ScheduleReader.h"
#include "transmit/SessionControl.h"
#include "transmit/TransmitterControl.h"

namespace {

bool startsWith(const std::string& text, const char* key) { return text.rfind(key, 0) == 0; }

// The number after the first '=' when it is above 200.
bool frequencyAfterEquals(const std::string& text, float& frequency) {
    float value = std::strtof(text.c_str() + text.find('=') + 1, nullptr);
    if (value <= ScriptCommands::kLowestFrequency) return false;
    frequency = value;
    return true;
}

}  // namespace

void ScriptCommands::RunScriptCommand(const std::string& text) {
    std::string command = AsciiUpper(text);
    if (!runModeCommand(command) && !runTimerCommand(command) && !runSwitchCommand(command) &&
        !runBaudCommand(command)) {
        if (startsWith(command, "RTS")) p_.state.TxLine = Id::TxLineRts;
        else if (startsWith(command, "DTR")) p_.state.TxLine = Id::TxLineDtr;
        else if (startsWith(command, "REL")) reload();
        else if (startsWith(command, "HEA") || startsWith(command, "NOH")) {
            bool on = startsWith(command, "HEA");
            p_.state.headerEnable = on;
            p_.window.checkMenuItem(Id::Header, on);
        } else if (startsWith(command, "DID") || startsWith(command, "NOD")) {
            bool on = startsWith(command, "DID");
            p_.state.diddleEnable = on;
            p_.window.checkMenuItem(Id::Diddle, on);
        } else if (startsWith(command, "COM")) changePort(command);
    }
    p_.window.checkMenuRadio(Id::TxLineDisabled, Id::TxLineDtrXmit, p_.state.TxLine);
}

bool ScriptCommands::runModeCommand(const std::string& command) {
    static constexpr struct { const char* key; int menuId; } kModes[] = {
        {"ASC", Id::ModeAscii}, {"ITA", Id::ModeIta2}, {"TEL", Id::ModeTelex}, {"MIL", Id::ModeMilitary}};
    for (const auto& mode : kModes) {
        if (!startsWith(command, mode.key)) continue;
        p_.menus.ChooseMode(mode.menuId);
        return true;
    }
    for (const PskFrequency& frequency : kPskFrequencies) {
        if (!startsWith(command, frequency.scriptCommand)) continue;
        p_.state.pskFrequency = frequency.hertz;
        return true;
    }
    if (startsWith(command, "PSK")) {
        p_.menus.ChooseMode(Id::ModePsk31);
        float frequency = 0;
        if (startsWith(command, "PSK=") && frequencyAfterEquals(command, frequency)) p_.state.pskFrequency = frequency;
        return true;
    }
    if (startsWith(command, "FSK=")) {
        frequencyAfterEquals(command, fskCenter_);
        return true;
    }
    return false;
}

bool ScriptCommands::runTimerCommand(const std::string& command) {
    if (startsWith(command, "CWID")) {
        p_.cwid.Cwid();
    } else if (startsWith(command, "CWT") || startsWith(command, "CWS")) {
        bool on = startsWith(command, "CWT");
        p_.state.cwTimerCheck = on;
        p_.window.checkMenuItem(Id::AutoCwIdTimer, on);
        p_.cwid.RestartCwIdTimer();
    } else if (startsWith(command, "CW")) {
        p_.menus.ChooseMode(Id::ModeCw);
    } else {
        return false;
    }
    return true;
}

bool ScriptCommands::runSwitchCommand(const std::string& command) {
    if (startsWith(command, "TX")) {
        p_.transmitter.CmTX();
    } else if (startsWith(command, "RX")) {
        p_.transmitter.CmRX();
    } else if (startsWith(command, "DIS")) {
        p_.session.CmDisable();
        p_.transmitter.CmRX();
    } else {
        return false;
    }
    return true;
}

bool ScriptCommands::runBaudCommand(const std::string& command) {
    const BaudRate* rate = FindBaudByScriptPrefix(command);
    if (rate == nullptr) return false;
    p_.menus.ChooseBaud(rate->menuId);
    return true;
}

void ScriptCommands::changePort(const std::string& command) {
    int n = std::atoi(command.c_str() + 3);
    if (n == 0) {
        p_.log.write("COMM Port is disabled");
        return;
    }
    if (n < 1 || n > kCommPortCount || !p_.state.commPortAvailable[n]) {
        p_.log.write("Error: Non-existant Port Number");
        return;
    }
    std::string previous = p_.state.m_CommPort;
    bool previousOpen = p_.state.commHandle != kNoPortHandle;
    p_.state.m_CommPort = "COM" + std::to_string(n);
    p_.transmitter.CmRX();
    if (!openNamedPort()) {
        keepPreviousPort(previous, previousOpen);
        p_.log.writef("ComPort not changed to COM%d, it is %s", n, p_.state.m_CommPort.get().c_str());
        return;
    }
    p_.window.checkMenuRadio(Id::ComDisabled, Id::Com8, Id::ComDisabled + n);
    p_.line.EnableSerialMenus(true);
    p_.log.writef("ComPort Changed to %s", p_.state.m_CommPort.get().c_str());
}

bool ScriptCommands::openNamedPort() {
    return p_.line.OpenCommPort(p_.state.m_CommPort, p_.state.BAUD, 0, p_.state.DATABITS, p_.state.stopBits,
                                SerialLine::OnFailure::LogAndGoOn) == 0;
}

// The port that failed closed the one before it: that one is opened again,
// so the port's name and the ComPort check always tell what is open ("NULL"
// and no check when nothing is).
void ScriptCommands::keepPreviousPort(const std::string& previous, bool previousOpen) {
    p_.state.m_CommPort = previousOpen ? previous : "NULL";
    if (previousOpen && !openNamedPort()) p_.state.m_CommPort = "NULL";
    bool open = p_.state.commHandle != kNoPortHandle;
    int checked = open ? Id::ComDisabled + std::atoi(p_.state.m_CommPort.get().c_str() + 3) : 0;
    p_.window.checkMenuRadio(Id::ComDisabled, Id::Com8, checked);
}

void ScriptCommands::reload() {
    p_.ini.ReloadModeratedWords();
    p_.encoder.LoadIntCharDict("IntCharDict.txt");
    p_.schedule.OnReload();
}
