#include "coding/OutputRouter.h"

#include <algorithm>

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
    while (psk_.PendingCharacters() > kPskQueueLimit && pskCanSend() && !waits_.closingDown())
        waits_.PumpWhileBusy();
}

// At most one code ever waits for the modulator; a code not worth waiting
// for is lost, as with no port.
// The modulator takes a code once a frame (165 ms at 45.45 baud): a few
// looks a frame, with events dispatched between them, keep the window in
// step without waking the window thread every few milliseconds.
void OutputRouter::sendToModulator(int code) {
    using std::chrono::microseconds;
    const microseconds rest = std::clamp<microseconds>(characterTime() / 2, Waits::kBusyRest, kLongestModulatorRest);
    while (worthWaitingForModulator()) {
        if (state_.modPending.count() == 0) {
            HandOver(code);
            return;
        }
        waits_.PumpWhileBusy(rest);
    }
}

// Only the window thread waits for a modulator that is not running: the
// operator's transmitter-on can come inside its wait. A chat or admin
// session would wait for ever, holding the line.
bool OutputRouter::worthWaitingForModulator() const {
    if (waits_.closingDown()) return false;
    return state_.modulatorRunning || waits_.runsWindowEvents();
}

// The driver is asked to hold no more than goes out in a busy rest (the one
// byte on its way at a teleprinter's speed), so the display, Pause and
// CANCEL keep in step with the air, while a fast line never stands idle
// waiting for the station between bytes.
void OutputRouter::sendToSerial(int code) {
    for (;;) {
        SerialLine::Outcome outcome = line_.writeByte(static_cast<uint8_t>(code & 0xFF));
        if (outcome == SerialLine::Outcome::NoPort || outcome == SerialLine::Outcome::Failed) return;
        if (outcome == SerialLine::Outcome::Written) break;
        if (waits_.closingDown()) return;
        waits_.PumpMessages();
    }
    const SerialPace pace = serialPace();
    while (line_.outputQueued() >= pace.held && !waits_.closingDown()) waits_.PumpWhileBusy(pace.rest);
}

// Start, data and stop elements: a lower bound on a character's time.
std::chrono::microseconds OutputRouter::characterTime() const {
    const double bits = state_.DATABITS + 2;
    const double baud = std::max(1.0f, state_.BAUD.load());
    return std::chrono::microseconds(static_cast<long long>(bits / baud * 1e6));
}

OutputRouter::SerialPace OutputRouter::serialPace() const {
    using std::chrono::microseconds;
    const microseconds character = characterTime();
    const auto rest = std::min<microseconds>(Waits::kBusyRest, character / 2);
    const int held = std::max<int>(1, static_cast<int>(microseconds(Waits::kBusyRest) / character));
    return {held, rest};
}
