#pragma once
// A raw SMTP client of a station port for tests: the greeting, the envelope
// to the station's mailbox and DATA with the message in pieces, each reply
// read while a pump keeps the station's window thread going.

#include <functional>
#include <string>
#include <vector>

#include "support/LoopbackClient.h"

struct NetFixture;

struct MailClient {
    // Connects and reads the greeting, pumping with `pump`.
    MailClient(NetFixture& fixture, int port, std::function<void()> pump);
    // HELO, MAIL FROM and RCPT TO; what came back up to the recipient's reply.
    std::string envelope();
    // DATA and its "354"; the message's bytes may follow.
    void startData();
    // DATA, the given bytes (in pieces, some simulated time between them), and the reply to them.
    std::string data(const std::vector<std::string>& pieces);

    NetFixture& s;
    LoopbackClient client;
    std::function<void()> pump;
    std::string greeting;
};

// The reply to a message that was stored and queued as `name`.
std::string StoredReply(const std::string& name);
constexpr const char* kNoStorageReply = "452  Requested action not taken: insufficient system storage\r\n";
