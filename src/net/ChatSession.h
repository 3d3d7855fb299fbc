#pragma once
// A telnet chat user: lines typed by the user go on the air once finished
// with a line end, as "name::  text" between idle codes, taking turns with
// the file transmitter through lineBusy; the user sees what goes on the line
// and the caret macros expanded for them alone. Runs on its own thread.

#include <string>
#include <string_view>

#include "net/SessionMorseClock.h"
#include "net/TelnetSession.h"
#include "transmit/MorseKeyer.h"

class ChatSession : public TelnetSession {
public:
    // A longer line is cut: at 45 baud these take about three minutes.
    static constexpr std::size_t kLongestLine = 1024;

    ChatSession(const TelnetParts& parts, SessionSocket& socket, std::string address);

    void Run();

private:
    // False when the session ends.
    bool takeInput();
    void takeBytes(std::string_view bytes);
    void cutLine(bool ended);
    void sendLine();
    void sendCharacter(char c);
    int echo(int c);
    void rest();

    std::string pending_;
    bool lineReady_ = false;
    bool droppingLine_ = false;
    SessionMorseClock morseClock_;
    MorseKeyer morse_;
};
