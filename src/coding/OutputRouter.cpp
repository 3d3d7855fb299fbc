#include "coding/OutputRouter.h"

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/Psk31Library.h"
#include "coding/SerialLine.h"
#include "platform/Waits.h"

int OutputRouter::SendCode(int code) {
    if (state_.MODE == kModePsk31) {
        sendToPsk(code);
    } else if (SoundCardSelected(state_) && state_.modulator.load() != nullptr) {
        sendToModulator(code);
    } else {
        sendToSerial(code);
    }
    return code;
}

void OutputRouter::HandOver(int code) { state_.modPending.append(code); }

void OutputRouter::SendPskIdle() { sendToPsk(0); }

// One log line for each run of refused codes, not one for every code.
bool OutputRouter::pskCanSend() {
    if (psk_.CanSend()) {
        pskRefusing_ = false;
        return true;
    }
    if (!pskRefusing_.exchange(true))
        log_.write("SendCode : the PSK31 library cannot send (no sound card open, or it failed); codes are dropped");
    return false;
}

// The library may stop sending while a code waits (a card that fails).
void OutputRouter::sendToPsk(int code) {
    if (!pskCanSend()) return;
    psk_.QueueCharacter(code, 0);
    while (psk_.PendingCharacters() > kPskQueueLimit && pskCanSend()) waits_.PumpWhileBusy();
}

// At most one code ever waits for the modulator.
void OutputRouter::sendToModulator(int code) {
    while (state_.modPending.count() > 0) waits_.PumpWhileBusy();
    HandOver(code);
}

// The driver is asked to hold at most the one byte on its way to the line, so
// the display, Pause and CANCEL keep in step with the air.
void OutputRouter::sendToSerial(int code) {
    for (;;) {
        SerialLine::Outcome outcome = line_.writeByte(static_cast<uint8_t>(code & 0xFF));
        if (outcome == SerialLine::Outcome::NoPort || outcome == SerialLine::Outcome::Failed) return;
        waits_.PumpMessages();
        if (outcome == SerialLine::Outcome::Written) break;
    }
    while (line_.outputPending()) waits_.PumpWhileBusy();
}
