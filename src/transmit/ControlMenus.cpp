#include "transmit/ControlMenus.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/SerialLine.h"
#include "platform/Controls.h"
#include "platform/Waits.h"
#include "transmit/CwIdentification.h"
#include "transmit/StandaloneTransmission.h"
#include "transmit/TransmitterControl.h"

bool ControlMenus::handle(int commandId) {
    switch (commandId) {
        case Id::Diddle: toggle(commandId, p_.state.diddleEnable); break;
        case Id::Header: toggle(commandId, p_.state.headerEnable); break;
        case Id::Autostart: toggle(commandId, p_.state.KOVAAutoStart); break;
        case Id::NoTimer: toggle(commandId, p_.state.checkNoTimer); break;
        case Id::InternetLink: toggle(commandId, p_.state.internetLinkEnable); break;
        case Id::AutoCwIdTimer: p_.cwid.ToggleAutoTimer(); break;
        case Id::SendCwIdNow: p_.cwid.SendNow(); break;
        case Id::SendCwId: p_.cwid.SendFromTestMenu(); break;
        case Id::SendRyRy: SendTestText("RYRYRYRY.txt"); break;
        case Id::SendQuickBrownFox: SendTestText("thefox.txt"); break;
        case Id::ViewLog: p_.log.ViewLog(); break;
        case Id::SendBreakSignal: ToggleBreak(); break;
        default: return false;
    }
    return true;
}

void ControlMenus::toggle(int commandId, std::atomic<int32_t>& flag) {
    flag = flag ? 0 : 1;
    p_.window.checkMenuItem(commandId, flag != 0);
}

// Never inside a running session: it would wait for the line for ever.
void ControlMenus::SendTestText(const char* fileName) {
    if (!p_.state.notSending || p_.state.MODE == kModeCw || p_.state.localLock) return;
    if (std::string(fileName) == "RYRYRYRY.txt") p_.log.write("CmRYRYRYRY : Sending <RYRYRYRY.txt> file.");
    p_.standalone.Send(fileName);
}

void ControlMenus::ToggleBreak() {
    if (p_.state.sendBreakSignal) {
        p_.state.sendBreakSignal = 0;
        p_.window.checkMenuItem(Id::SendBreakSignal, false);
        p_.line.SetBreak(false);
        p_.transmitter.CmRX();
        return;
    }
    p_.state.sendBreakSignal = 1;
    p_.transmitter.CmTX();
    p_.window.checkMenuItem(Id::SendBreakSignal, true);
    p_.line.SetBreak(true);
    while (p_.state.sendBreakSignal) p_.waits.PumpWhileBusy();
    p_.transmitter.CmRX();
}
