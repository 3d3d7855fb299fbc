#include "transmit/CwIdentification.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/Psk31Library.h"
#include "platform/Controls.h"
#include "platform/Waits.h"
#include "transmit/FileTransmitter.h"
#include "transmit/MorseKeyer.h"
#include "transmit/TimerControl.h"
#include "transmit/TransmitterControl.h"

bool CwIdentification::transmitterIdle() const { return p_.state.transmitOn && !p_.state.localLock; }

void CwIdentification::Cwid() {
    p_.state.localLock = 1;
    p_.state.notSending = 0;
    p_.state.sendNow = 0;
    p_.log.write("Cwid : Sending CW Identification.");
    p_.transmitter.CmTX();

    int mode = p_.state.MODE;
    if (mode == kModePsk31) {
        p_.files.TXFile("cwid.txt", mode);
        p_.psk.SetCwIdText(p_.state.cwIdText.get());
        p_.psk.QueueCharacter(kPskControlSendCwId, 1);
        p_.psk.StopTransmit();
        p_.waits.WaitSeconds(kPskIdSeconds);
        p_.psk.StartTransmit();
    } else {
        // In CW the file itself is keyed in Morse and needs the fast timer too.
        p_.timers.OnTimer(TimerControl::kStartMorse);
        p_.files.TXFile("cwid.txt", mode);
        keyText();
        p_.timers.OnTimer(TimerControl::kStopMorse);
        if (p_.state.secondsUntilDue > 0) p_.transmitter.CmRX();
    }
    p_.log.write("Completed CWID");
    p_.state.localLock = 0;
    p_.state.notSending = 1;
    p_.state.sendNow = 1;
    // Send CWID chosen during this identification follows it.
    SendDeferred();
}

void CwIdentification::keyText() {
    p_.waits.WaitTicks(MorseKeyer::kLeadTicks);
    for (char c : p_.state.cwIdText.get()) p_.morse.SendMorseChar(c, MorseKeyer::kIdentificationGap);
    p_.waits.WaitTicks(MorseKeyer::kLeadTicks);
}

void CwIdentification::RestartCwIdTimer() {
    if (p_.state.cwTimerCheck) {
        p_.state.CWTimer = 0;
        if (transmitterIdle()) Cwid();
    } else {
        p_.state.CWTimer = -1;
        p_.window.setText(Id::CwIdCount, "OFF");
    }
}

void CwIdentification::CountStep() {
    if (p_.state.CWTimer == -1 || !p_.state.transmitOn) return;
    int counted = ++p_.state.CWTimer;
    p_.window.setText(Id::CwIdCount, std::to_string(kSecondsBetweenIds - counted));
    if (counted > kSecondsBetweenIds && transmitterIdle()) {
        Cwid();
        p_.state.CWTimer = 0;
    }
}

void CwIdentification::ToggleAutoTimer() {
    if (p_.state.cwTimerCheck) {
        p_.window.checkMenuItem(Id::AutoCwIdTimer, false);
        p_.state.cwTimerCheck = 0;
        p_.state.CWTimer = -1;
        p_.window.setText(Id::CwIdCount, "OFF");
        if (transmitterIdle()) Cwid();
    } else {
        p_.window.checkMenuItem(Id::AutoCwIdTimer, true);
        p_.state.cwTimerCheck = 1;
        p_.window.setText(Id::CwIdCount, "0");
        p_.state.CWTimer = 0;
    }
}

void CwIdentification::SendNow() {
    if (transmitterIdle())
        Cwid();
    else
        p_.window.messageBox("Works only when sending data to a TU", "Cannot Do it", MessageButtons::Ok,
                             MessageIcon::None);
}

// An identification started inside a running session would stop the fast
// timer and the line under it; it waits for the session's end instead.
void CwIdentification::SendFromTestMenu() {
    if (p_.state.localLock) {
        deferred_ = true;
        return;
    }
    Cwid();
}

void CwIdentification::SendDeferred() {
    if (!deferred_ || p_.state.localLock) return;
    deferred_ = false;
    Cwid();
}
