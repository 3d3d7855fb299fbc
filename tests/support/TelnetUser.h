#pragma once
// A telnet user for tests: a loopback client that logs in to the chat or
// admin service under a name, is listed, and then reads what the station
// shows it.

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
        // The session lists its user just after the welcome.
        s.time.runUntil([&] { return listed(name); }, std::chrono::seconds(5));
    }
    bool listed(const std::string& name) {
        for (int i = 0; i < s.window.rowCount(Id::ChatUserList); ++i)
            if (s.window.row(Id::ChatUserList, i).at(0) == name) return true;
        return false;
    }
    // Reads until `text` has come; everything since the last take.
    std::string readUntil(const std::string& text) { return client.readUntil(text, s.pump()); }
    std::string take() { return client.take(); }
    void type(const std::string& text) { client.send(text); }

    NetFixture& s;
    LoopbackClient client;
    std::string welcome;
};
