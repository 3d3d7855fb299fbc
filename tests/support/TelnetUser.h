#pragma once
// A telnet user for tests: a loopback client that logs in to the chat or
// admin service under a name and then reads what the station shows it.

#include <string>

#include "support/LoopbackClient.h"
#include "support/NetFixture.h"

struct TelnetUser {
    static constexpr const char* kSessionBegins = "Begin Session ---------------------\n\r\n\r";

    TelnetUser(NetFixture& fixture, int port, const std::string& name) : s(fixture), client(port) {
        client.readUntil("Name:  ", s.pump());
        client.send(name + "\r\n");
        welcome = client.readUntil(kSessionBegins, s.pump());
        client.take();
    }
    // Reads until `text` has come; everything since the last take.
    std::string readUntil(const std::string& text) { return client.readUntil(text, s.pump()); }
    std::string take() { return client.take(); }
    void type(const std::string& text) { client.send(text); }

    NetFixture& s;
    LoopbackClient client;
    std::string welcome;
};
