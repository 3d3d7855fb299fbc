#include "coding/SerialMenus.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/LineTables.h"
#include "coding/Psk31Library.h"
#include "coding/PskStartReport.h"
#include "coding/SerialLine.h"
#include "platform/Controls.h"

namespace {
// soundCardID above this means no card was chosen.
constexpr int kHighestCardForPsk = 10;
}

bool SerialMenus::handle(int commandId) {
    if (commandId >= Id::ComDisabled && commandId <= Id::Com8) {
        ChooseComPort(commandId);
    } else if (commandId >= Id::BaudFirst && commandId <= Id::BaudLast) {
        ChooseBaud(commandId);
    } else if (commandId >= Id::ModeFirst && commandId <= Id::ModeLast) {
        ChooseMode(commandId);
    } else if (commandId >= Id::TxLineDisabled && commandId <= Id::TxLineDtrXmit) {
        ChooseTxLine(commandId);
    } else if (commandId == Id::DovetronComputer || commandId == Id::DovetronTeletype) {
        ChooseDovetronSource(commandId);
    } else {
        return false;
    }
    return true;
}

// A new speed or framing never ends the station: a port that cannot be had
// any more is logged and the station runs on without it.
void SerialMenus::reopenPort() {
    line_.OpenCommPort(state_.m_CommPort, state_.BAUD, 0, state_.DATABITS, state_.stopBits,
                       SerialLine::OnFailure::LogAndGoOn);
}

void SerialMenus::ChooseComPort(int commandId) {
    window_.checkMenuRadio(Id::ComDisabled, Id::Com8, commandId);
    if (commandId == Id::ComDisabled) {
        line_.EnableSerialMenus(false);
        std::string previous = state_.m_CommPort;
        state_.m_CommPort = "Disabled";
        if (state_.commHandle != kNoPortHandle) {
            line_.CloseCommPort();
            state_.commOpen = 0;
            log_.writef("Comm Port \"%s\" closed", previous.c_str());
        }
        return;
    }
    line_.EnableSerialMenus(true);
    std::string name = "COM" + std::to_string(commandId - Id::Com1 + 1);
    line_.OpenCommPort(name, state_.BAUD, 0, state_.DATABITS, state_.stopBits);
}

void SerialMenus::ChooseBaud(int commandId) {
    const BaudRate* rate = FindBaudRate(commandId);
    if (rate == nullptr) return;
    window_.checkMenuRadio(Id::BaudFirst, Id::BaudLast, commandId);
    state_.BAUD = rate->baud;
    reopenPort();
}

void SerialMenus::ChooseMode(int commandId) {
    if (commandId == Id::ModePsk31) {
        choosePsk31();
        return;
    }
    const LineModeInfo* info = FindLineModeByMenu(commandId);
    if (info == nullptr) return;
    window_.checkMenuRadio(Id::ModeFirst, Id::ModeLast, commandId);
    psk_.CloseSoundCard();
    state_.MODE = info->mode;
    if (info->mode != kModeCw) {
        bool ascii = info->mode == kModeAscii;
        state_.DATABITS = ascii ? 8 : 5;
        state_.stopBits = ascii ? 0 : 1;
        if (state_.commHandle != kNoPortHandle) reopenPort();
    }
    log_.write(info->logText);
}

// A card that cannot be opened leaves the station in Military, as the menu
// then shows, rather than in a PSK31 mode that sends nothing.
void SerialMenus::choosePsk31() {
    if (state_.soundCardID > kHighestCardForPsk) {
        window_.messageBox("Please Select a Sound Card", "", MessageButtons::Ok, MessageIcon::None);
        return;
    }
    state_.MODE = kModePsk31;
    window_.checkMenuRadio(Id::ModeFirst, Id::ModeLast, Id::ModePsk31);
    psk_.CloseSoundCard();
    int status = psk_.OpenSoundCard(state_.soundCardID);
    ReportPskStart(status, log_, window_);
    if (status != 0) {
        ChooseMode(Id::ModeMilitary);
        return;
    }
    psk_.SetCarrierFrequency(static_cast<int>(state_.pskFrequency.load()));
    log_.write("Mode set to PSK31");
}

void SerialMenus::ChooseTxLine(int commandId) {
    log_.writef("Setting RS-232 control to %s", SerialLine::TxLineLogName(commandId));
    state_.TxLine = commandId;
    window_.checkMenuRadio(Id::TxLineDisabled, Id::TxLineDtrXmit, commandId);
}

void SerialMenus::ChooseDovetronSource(int commandId) {
    bool teletype = commandId == Id::DovetronTeletype;
    log_.write(teletype ? "Keying Source sets DTR for teletype control for the Dovetron modem"
                        : "Keying Source clears DTR for Computer control for the Dovetron modem");
    window_.checkMenuRadio(Id::DovetronComputer, Id::DovetronTeletype, commandId);
    line_.SetDtr(teletype);
}
