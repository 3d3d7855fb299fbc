#include "net/AdminSession.h"

#include "app/CommandIds.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "net/SessionSocket.h"
#include "platform/AsciiText.h"
#include "platform/Controls.h"
#include "platform/Waits.h"
#include "transmit/TransmitQueue.h"
#include "transmit/TransmitterControl.h"

namespace {

constexpr int kReceiveChunk = 256;

const TelnetWelcome kAdminWelcome = {
    "ADMIN Chat Server Service Ready\r\n",
    {"\n\r\n\rWelcome \"%s\" to this ADMIN chat session, please remember ",
     "\n\rthat each character is immediately echoed th the output port.",
     "\n\r------------- Begin Session ---------------------\n\r\n\r", nullptr},
};

}  // namespace

void AdminSession::Run() {
    if (!login(kAdminWelcome, p_.state.KOVAAdminPassword.get())) return;
    char buffer[kReceiveChunk + 1];
    while (!p_.stopping) {
        showLine(true);
        int received = socket_.PollReceive(buffer, kReceiveChunk);
        if (received < 0 || socket_.peerClosed()) break;
        if (received > 0) noteActivity();
        if (idleSeconds() > kIdleLimitSeconds) break;
        switchOffWhenIdle();
        if (received == 0) continue;

        if (autostartOwnsTransmitter() && !p_.state.transmitOn) {
            p_.transmitter.CmTX();
            p_.transmitter.SendIdleSequence(3, 3, 0);
        }
        std::string typed = typedText(buffer, received);
        for (char& c : typed) {
            c = AsciiUpper(c);
            sendCharacter(c);
        }
        appendToTextView(typed);
    }
    end("Ending ADMIN connection for [%d] %s ");
}

void AdminSession::switchOffWhenIdle() {
    if (!autostartOwnsTransmitter() || idleSeconds() <= kAutoOffSeconds || !p_.state.transmitOn) return;
    if (p_.queue.count() != 0) return;
    p_.transmitter.SendIdleSequence(0, 3, 3);
    p_.transmitter.CmRX();
}

// The user sees the character come back from txHistory, and a line break
// twice: once sent here, once from txHistory.
void AdminSession::sendCharacter(char c) {
    int mode = p_.state.MODE;
    p_.state.txHistory.record(c);
    p_.encoder.EncodeChar(c, mode);
    socket_.WaitWritable();
    p_.waits.PumpMessages();
    countColumn(c);
    if (needsBreak(c)) breakLine(mode);
}

void AdminSession::appendToTextView(const std::string& typed) {
    std::string text = p_.window.text(Id::TextView) + typed;
    if (text.size() > kMostViewText) text.erase(0, text.size() - kMostViewText);
    p_.window.setText(Id::TextView, text);
}
