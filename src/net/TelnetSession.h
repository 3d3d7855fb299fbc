#pragma once
// What chat and admin sessions share: the login with its name dialogue and
// list row, showing the user what went on the line since the last look
// (from txHistory), the column count and the automatic line break, the idle
// clock, and the end with its log line. Each session runs on a thread of its
// own at the lowest priority and owns its socket.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <string>

#include "net/Latin1Text.h"
#include "net/NetLimits.h"
#include "net/SessionSocket.h"

class CharacterEncoder;
class ChatUserList;
class Clock;
class Controls;
class EventLog;
class OutputRouter;
class SerialLine;
class TransmitQueue;
class TransmitterControl;
class Waits;
struct ProgramState;

struct TelnetParts {
    ProgramState& state;
    EventLog& log;
    Controls& window;
    const Clock& clock;
    Waits& waits;
    CharacterEncoder& encoder;
    OutputRouter& router;
    TransmitterControl& transmitter;
    SerialLine& line;
    TransmitQueue& queue;
    ChatUserList& users;
    const NetLimits& limits;
    const std::atomic<bool>& stopping;
};

struct TelnetWelcome {
    const char* banner;
    // The first line takes the name.
    const char* lines[4];
};

class TelnetSession {
public:
    // A session without input for this long ends.
    static constexpr std::time_t kIdleLimitSeconds = 3600;

protected:
    TelnetSession(const TelnetParts& parts, SessionSocket& socket, std::string address)
        : p_(parts), socket_(socket), address_(std::move(address)) {}

    // False when no name came within the login's time limit, or a wrong
    // password when one is asked for (logged, socket closed): the session is
    // over. An empty password asks for none.
    bool login(const TelnetWelcome& welcome, const std::string& password = "");
    void showLine(bool waitWritable);
    // What went on the line meanwhile is not shown again (the user saw it typed).
    void markLineSeen();
    // A receive's bytes up to a NUL (the station's texts end there), its
    // UTF-8 in Latin-1; a character split between receives waits for its rest.
    std::string typedText(const char* buffer, int received);
    void countColumn(char c);
    bool needsBreak(char shown) const;
    // CR and LF on the air and to the user, the column count back to 0.
    void breakLine(int mode);
    void noteActivity();
    std::time_t idleSeconds() const;
    bool autostartOwnsTransmitter() const;
    void end(const char* format);

    TelnetParts p_;
    SessionSocket& socket_;
    std::string address_;
    std::string name_;
    int column_ = 0;

private:
    bool receiveName();
    bool passwordGiven(const std::string& password);
    // Logs the failure and closes the socket; false.
    bool loginFailed();
    // As WaitReceive, within what is left of the login's time.
    int receiveLogin(char* buffer);

    SessionSocket::Deadline loginEnd_;
    Utf8InputDecoder utf8_;
    uint16_t readIndex_ = 0;
    std::time_t lastActivity_ = 0;
};
