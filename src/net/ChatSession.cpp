#include "net/ChatSession.h"

#include <algorithm>
#include <thread>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "coding/OutputRouter.h"
#include "net/ExpandEcho.h"
#include "net/SessionSocket.h"
#include "platform/AsciiText.h"
#include "platform/Controls.h"
#include "platform/Waits.h"
#include "transmit/TransmitQueue.h"
#include "transmit/TransmitterControl.h"

namespace {

constexpr int kReceiveChunk = 512;

const TelnetWelcome kChatWelcome = {
    "Telnet Chat Server Service Ready\r\n",
    {"\n\r\n\rWelcome \"%s\" to this chat session, please remember ",
     "\n\rto finish your entry with a carriage return following", "\n\ryour last entry to send it off.",
     "\n\r------------- Begin Session ---------------------\n\r\n\r"},
};

}  // namespace

ChatSession::ChatSession(const TelnetParts& parts, SessionSocket& socket, std::string address)
    : TelnetSession(parts, socket, std::move(address)),
      morseClock_(parts.limits.morseTick),
      morse_(morseClock_.waits(), parts.line) {}

void ChatSession::Run() {
    if (!login(kChatWelcome)) return;
    while (!p_.stopping) {
        showLine(false);
        if (!lineReady_) {
            if (!takeInput()) break;
            if (!lineReady_) continue;
        }
        // A finished line waits its turn on the air without taking more input.
        if (p_.state.lineBusy.exchange(1)) {
            rest();
            continue;
        }
        sendLine();
    }
    end("Ending connection for [%d] %s ");
}

void ChatSession::rest() { std::this_thread::sleep_for(p_.limits.pollWait); }

bool ChatSession::takeInput() {
    if (p_.state.lineBusy) {
        rest();
        return idleSeconds() <= kIdleLimitSeconds;
    }
    char buffer[kReceiveChunk + 1];
    int received = socket_.PollReceive(buffer, kReceiveChunk);
    if (received < 0 || socket_.peerClosed()) return false;
    if (received > 0) noteActivity();
    if (idleSeconds() > kIdleLimitSeconds) return false;

    takeBytes(typedText(buffer, received));
    return true;
}

// One user cannot hold the line for hours: a line longer than kLongestLine
// goes out cut, and the rest of it, up to its end, is dropped.
void ChatSession::takeBytes(std::string_view bytes) {
    if (droppingLine_) {
        std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) return;
        bytes.remove_prefix(std::min(bytes.find_first_not_of("\r\n", end), bytes.size()));
        droppingLine_ = false;
    }
    pending_.append(bytes);
    std::size_t lineEnd = pending_.find_last_of("\r\n");
    if (lineEnd != std::string::npos) pending_.resize(lineEnd + 1);
    std::size_t text = pending_.find_last_not_of("\r\n") + 1;
    if (text > kLongestLine) cutLine(lineEnd != std::string::npos);
    else lineReady_ = lineEnd != std::string::npos;
}

void ChatSession::cutLine(bool ended) {
    p_.log.writef("Chat line of %s cut after %zu characters", name_.c_str(), kLongestLine);
    pending_.resize(kLongestLine);
    pending_ += "\r\n";
    lineReady_ = true;
    droppingLine_ = !ended;
}

void ChatSession::sendLine() {
    const std::string output = "\n\r" + name_ + "::  " + pending_;
    p_.window.setText(Id::TextView, output);
    if (autostartOwnsTransmitter()) p_.transmitter.CmTX();
    p_.transmitter.SendIdleSequence(3, 3, 0);
    column_ = 0;
    for (char c : output) {
        if (p_.stopping) break;
        p_.state.lineBusy = 1;
        countColumn(c);
        p_.waits.PumpMessages();
        sendCharacter(c);
        p_.waits.PumpMessages();
    }
    markLineSeen();
    pending_.clear();
    lineReady_ = false;
    if (!p_.stopping) {
        p_.transmitter.SendIdleSequence(0, 3, 3);
        if (autostartOwnsTransmitter() && p_.queue.count() == 0) p_.transmitter.CmRX();
        p_.waits.WaitSeconds(1);
    }
    p_.state.lineBusy = 0;
}

int ChatSession::echo(int c) { return ExpandEcho(c, socket_, p_.state, p_.clock); }

void ChatSession::sendCharacter(char c) {
    int mode = p_.state.MODE;
    if (mode == kModePsk31) {
        echo(c);
        p_.router.SendPskIdle();
    }
    if (mode == kModeCw) {
        // The user sees nothing of a CW line but what ExpandEcho sends.
        p_.state.txHistory.record(c);
        echo(c);
        morse_.SendMorseChar(c, MorseKeyer::kTextGap);
        return;
    }
    if (mode == kModeAscii || mode == kModePsk31) {
        p_.state.txHistory.record(c);
        p_.router.SendCode(c & 127);
        char shown = static_cast<char>(echo(c));
        socket_.send(std::string_view(&shown, 1));
        return;
    }
    char upper = AsciiUpper(c);
    p_.state.txHistory.record(upper);
    p_.encoder.EncodeChar(upper, mode);
    char shown = static_cast<char>(echo(upper));
    socket_.send(std::string_view(&shown, 1));
    p_.waits.PumpMessages();
    if (needsBreak(shown)) breakLine(mode);
}
