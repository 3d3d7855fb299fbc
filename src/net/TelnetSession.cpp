#include "net/TelnetSession.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "net/ChatUserList.h"
#include "net/UserNameInput.h"
#include "platform/AsciiText.h"
#include "platform/Clock.h"
#include "platform/Waits.h"

namespace {
constexpr int kLoginChunk = 256;
constexpr int kLowestPriority = 19;
constexpr std::size_t kLongestPassword = 255;

// Looks at every character whatever the first difference, so the time of a
// refusal tells nothing of the password (which is never empty).
bool samePassword(std::string_view typed, std::string_view password) {
    unsigned difference = typed.size() != password.size() ? 1u : 0u;
    for (std::size_t i = 0; i < typed.size(); ++i)
        difference |= static_cast<unsigned char>(typed[i] ^ password[i % password.size()]);
    return difference == 0;
}
}  // namespace

bool TelnetSession::login(const TelnetWelcome& welcome, const std::string& password) {
    // The window thread and its timed transmit cycle come first.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kLowestPriority);
    p_.state.softWrapColumn = p_.state.KOVAAutoLine72 - 5;
    readIndex_ = p_.state.txHistory.index();
    noteActivity();
    loginEnd_ = SessionSocket::Deadline::clock::now() + p_.limits.telnetLoginLimit;
    socket_.send(welcome.banner);
    socket_.send("Enter User Name:  ");
    if (!receiveName()) return loginFailed();
    if (!password.empty() && !passwordGiven(password)) return false;
    char first[EventLog::kMaxMessage + 1];
    std::snprintf(first, sizeof first, welcome.lines[0], name_.c_str());
    socket_.send(first);
    for (int i = 1; i < 4 && welcome.lines[i] != nullptr; ++i) socket_.send(welcome.lines[i]);
    p_.users.addUser(name_, p_.clock.localNow(), socket_.number(), address_);
    return true;
}

bool TelnetSession::receiveName() {
    UserNameInput input;
    char buffer[kLoginChunk + 1];
    for (;;) {
        int received = receiveLogin(buffer);
        if (received <= 0) return false;
        UserNameInput::Outcome outcome = input.take(std::string_view(buffer, static_cast<std::size_t>(received)));
        if (outcome == UserNameInput::Outcome::Accepted) break;
        if (outcome == UserNameInput::Outcome::Refused) socket_.send("Re-Enter User Name:  ");
    }
    name_ = input.name();
    return true;
}

// Before the user is listed or anything of theirs reaches the air.
bool TelnetSession::passwordGiven(const std::string& password) {
    socket_.send("Enter Password:  ");
    std::string typed;
    char buffer[kLoginChunk + 1];
    while (typed.find_first_of("\r\n") == std::string::npos && typed.size() <= kLongestPassword) {
        int received = receiveLogin(buffer);
        if (received <= 0) return loginFailed();
        typed.append(buffer, static_cast<std::size_t>(received));
    }
    typed.resize(std::min(typed.find_first_of("\r\n"), typed.size()));
    if (samePassword(typed, password)) return true;
    socket_.send("Wrong password -- Ending connection\r\n");
    socket_.close();
    p_.log.writef("Login Failure -- wrong password for %s from [%s] -- Ending connection", name_.c_str(),
                  address_.c_str());
    return false;
}

bool TelnetSession::loginFailed() {
    socket_.close();
    p_.log.write("Login Failure -- Ending connection");
    return false;
}

// A client that keeps sending is cut off at the login's end just the same.
int TelnetSession::receiveLogin(char* buffer) { return socket_.WaitReceiveBefore(buffer, kLoginChunk, loginEnd_); }

void TelnetSession::showLine(bool waitWritable) {
    while (readIndex_ != p_.state.txHistory.index()) {
        if (waitWritable) socket_.WaitWritable();
        char c = p_.state.txHistory.at(readIndex_);
        socket_.send(std::string_view(&c, 1));
        p_.waits.PumpMessages();
        readIndex_ = static_cast<uint16_t>((readIndex_ + 1) % TxHistory::kSize);
    }
}

void TelnetSession::markLineSeen() { readIndex_ = p_.state.txHistory.index(); }

std::string TelnetSession::typedText(const char* buffer, int received) {
    return utf8_.feed(BeforeNul(std::string_view(buffer, static_cast<std::size_t>(received))));
}

void TelnetSession::countColumn(char c) {
    if (c == '\r' || c == '\n') column_ = 0;
    else ++column_;
}

bool TelnetSession::needsBreak(char shown) const {
    return (column_ > p_.state.softWrapColumn && shown == ' ') || column_ > p_.state.KOVAAutoLine72;
}

void TelnetSession::breakLine(int mode) {
    for (char c : {'\r', '\n'}) {
        p_.state.txHistory.record(c);
        p_.encoder.EncodeChar(c, mode);
        socket_.send(std::string_view(&c, 1));
        p_.waits.PumpMessages();
    }
    column_ = 0;
}

void TelnetSession::noteActivity() { lastActivity_ = p_.clock.nowSeconds(); }

std::time_t TelnetSession::idleSeconds() const { return p_.clock.nowSeconds() - lastActivity_; }

// In autostart mode with the scheduler off, the sessions switch the transmitter.
bool TelnetSession::autostartOwnsTransmitter() const { return p_.state.KOVAAutoStart && !p_.state.scheduleEnable; }

// The row goes before the socket is closed: its number is not ours after that.
// The user's connection ends first, then the log line, then the row; the
// socket is closed last, so its number is no other session's while the row
// is looked for.
void TelnetSession::end(const char* format) {
    int number = socket_.number();
    socket_.shutdown();
    p_.log.writef(format, number, name_.c_str());
    p_.users.removeUser(number);
    socket_.close();
}
