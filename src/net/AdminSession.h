#pragma once
// A telnet admin user: every character typed goes on the air at once, in
// upper case, between those of a running file if need be (the admin session
// does not wait for lineBusy), and into the window's text view; in autostart
// mode the session switches the transmitter on at the first character and
// off again after 30 seconds without input. Runs on its own thread.

#include <string>

#include "net/TelnetSession.h"

class AdminSession : public TelnetSession {
public:
    static constexpr std::time_t kAutoOffSeconds = 30;
    // The text view keeps the newest characters up to this many.
    static constexpr std::size_t kMostViewText = 66558;

    AdminSession(const TelnetParts& parts, SessionSocket& socket, std::string address)
        : TelnetSession(parts, socket, std::move(address)) {}

    void Run();

private:
    void switchOffWhenIdle();
    void sendCharacter(char c);
    void appendToTextView(const std::string& typed);
};
