#pragma once
// One SMTP connection: the greeting, then chunk after chunk of command lines
// answered in order, the message transfer handed to StoreDataMessage, and the
// end after QUIT, a failed transfer, six errors or a silent or gone client.
// Variant 1 (the primary port) answers NOOP and X-AUTO-RCPT; variant 2 does
// not, and logs an accepted recipient's reply as well. Runs on its own
// thread; owns nothing but what the socket object owns.

#include <string>

#include "net/NetLimits.h"

class EventLog;
class MessageStore;
class SessionSocket;
struct ProgramState;

class SmtpSession {
public:
    struct Parts {
        ProgramState& state;
        EventLog& log;
        MessageStore& store;
        const NetLimits& limits;
        const std::string& hostName;
    };

    static constexpr int kPrimary = 1;
    static constexpr int kSecondary = 2;
    // A session this many errors deep ends after its chunk.
    static constexpr int kMostErrors = 5;

    SmtpSession(const Parts& parts, SessionSocket& socket, int variant)
        : p_(parts), socket_(socket), variant_(variant) {}

    void Run();

private:
    void workChunk(std::string& chunk, const std::string& copy);
    void act(int code, const std::string& chunk, std::size_t lineStart, const std::string& copy);
    void recipient();
    void transfer();
    void notImplemented();
    void reply(const std::string& text);
    void replyAndLog(const std::string& text);

    Parts p_;
    SessionSocket& socket_;
    int variant_;
    bool rcptAccepted_ = false;
    int errorCount_ = 0;
    bool endSession_ = false;
    std::string command_;
    std::string argument_;
};
