#include "coding/OutputRouter.h"

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

void OutputRouter::sendToPsk(int code) {
    psk_.QueueCharacter(code, 0);
    while (psk_.PendingCharacters() > kPskQueueLimit && !waits_.closingDown()) waits_.PumpWhileBusy();
}

// At most one code ever waits for the modulator; a code not worth waiting
// for is lost, as with no port.
void OutputRouter::sendToModulator(int code) {
    while (worthWaitingForModulator()) {
        if (state_.modPending.count() == 0) {
            HandOver(code);
            return;
        }
        waits_.PumpWhileBusy();
    }
}

// Only the window thread waits for a modulator that is not running: the
// operator's transmitter-on can come inside its wait. A chat or admin
// session would wait for ever, holding the line.
bool OutputRouter::worthWaitingForModulator() const {
    if (waits_.closingDown()) return false;
    return state_.modulatorRunning || waits_.runsWindowEvents();
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
