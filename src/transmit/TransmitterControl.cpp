#include "transmit/TransmitterControl.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CodeTable.h"
#include "coding/OutputRouter.h"
#include "coding/Psk31Library.h"
#include "coding/SerialLine.h"
#include "platform/Controls.h"
#include "platform/Waits.h"
#include "sound/ModulatorControl.h"
#include "sound/SoundCardMenu.h"

namespace {
constexpr int kOffSettleSeconds = 2;
}  // namespace

void TransmitterControl::CmTX() {
    if (p_.state.transmitOn) return;
    p_.soundMenu.EnableCardItems(false);
    p_.state.transmitOn = 1;
    p_.window.setText(Id::TransmitState, "  ON  ");
    p_.log.write("CmTX : Transmitter ON");
    p_.line.KeyTransmitLine(true);

    int mode = p_.state.MODE;
    if (mode == kModePsk31) {
        if (SoundCardSelected(p_.state)) {
            p_.state.pskFrequency = static_cast<float>(p_.state.markTone.load());
            p_.psk.SetCarrierFrequency(static_cast<int>(p_.state.markTone.load()));
            p_.psk.StartTransmit();
            started_ = kPskStarted;
        } else {
            // The Diddle switch's only effect: letters shifts while idle. The
            // wait is here too, since a library that cannot send takes none.
            while (p_.state.diddleEnable && !p_.state.localLock && p_.state.transmitOn) {
                p_.router.SendCode(kCodeLtrs);
                p_.waits.PumpWhileBusy();
            }
        }
    } else if (ModulatorControl::SoundModemChosen(p_.state)) {
        p_.modulator.startForTransmit();
        started_ = kModemStarted;
    }
}

void TransmitterControl::CmRX() {
    if (!p_.state.transmitOn) return;
    p_.state.transmitOn = 0;
    p_.state.cwTimerCheck = 0;
    p_.window.checkMenuItem(Id::AutoCwIdTimer, false);
    // With the timer now off, restarting it only turns it off.
    p_.state.CWTimer = -1;
    p_.window.setText(Id::CwIdCount, "OFF");
    p_.window.setText(Id::TransmitState, "  OFF  ");
    p_.state.notSending = 1;
    p_.line.KeyTransmitLine(false);
    p_.log.write("CmRX : Transmitter OFF");

    int mode = p_.state.MODE;
    // A mode changed while on would otherwise leave the carrier or the tones going.
    int started = started_.exchange(kNothingStarted);
    if (mode == kModePsk31 || started == kPskStarted) stopPsk();
    if ((mode != kModePsk31 && mode != kModeCw) || started == kModemStarted) p_.modulator.stopAfterTransmit();
    p_.soundMenu.EnableCardItems(true);
}

void TransmitterControl::stopPsk() {
    p_.psk.FlushQueue();
    p_.psk.StopTransmit();
    p_.waits.WaitSeconds(kOffSettleSeconds);
    p_.psk.FlushQueue();
    p_.psk.StopTransmit();
}

void TransmitterControl::SendIdleSequence(int a, int b, int c) {
    p_.waits.WaitSeconds(a);
    p_.state.timerTick = 0;
    if (p_.state.MODE == kModeAscii) {
        p_.waits.WaitSeconds(b);
    } else {
        while (p_.state.timerTick < b && !p_.waits.closingDown()) {
            p_.router.SendCode(kCodeLtrs);
            p_.waits.PumpMessages();
        }
    }
    p_.waits.WaitSeconds(c);
}
