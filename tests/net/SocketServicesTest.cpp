// The four listeners: disabled services, a port that cannot be had, the
// connect lines with their three-digit octets, a session of its own for each
// connection, the limit of sessions per service, and the stop.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "net/Listener.h"
#include "support/LoopbackClient.h"
#include "support/NetFixture.h"

using namespace std::chrono_literals;

namespace {

// A loopback port another program listens on, until released.
struct TakenPort {
    TakenPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(socket, 1);
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~TakenPort() { release(); }
    void release() {
        if (socket >= 0) ::close(socket);
        socket = -1;
    }
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
};

// The greeting of a new SMTP client from `source`: a place is given back
// once the ended session's thread has run out, just after its last log line.
std::string greetingOnceFree(NetFixture& s, const char* source) {
    std::string greeting;
    for (auto end = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < end;) {
        LoopbackClient again(s.smtpPort1, source);
        greeting = again.readUntil("\r\n", s.pump());
        if (greeting.substr(0, 4) == "220 ") break;
    }
    return greeting;
}

}  // namespace

TEST(SocketServices, DisabledServicesAreLoggedAndListed) {
    NetFixture s;
    s.station.network.StartNetworkServices();
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"SMTP Port Number 1 disabled", "SMTP Port Number 2 disabled",
                                                          "KOVA Telnet Port disabled", "Admin Telnet Port disabled"}));
    EXPECT_FALSE(s.window.controlEnabled(Id::ChatUserList));
    ASSERT_EQ(s.window.rowCount(Id::ChatUserList), 2);
    EXPECT_EQ(s.window.row(Id::ChatUserList, 0)[0], "CHAT DISABLED");
    EXPECT_EQ(s.window.row(Id::ChatUserList, 1)[0], "ADMIN DISABLED");
}

TEST(SocketServices, WritesAddressesWithThreeDigitOctets) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.2.3.4", "001.002.003.004"}, {"0.0.0.0", "000.000.000.000"}, {"255.20.5.100", "255.020.005.100"}};
    for (const auto& [dotted, text] : cases) {
        in_addr address{};
        ::inet_pton(AF_INET, dotted, &address);
        EXPECT_EQ(Listener::AddressText(address.s_addr), text);
    }
}

TEST(SocketServices, EachConnectionIsLoggedAndServed) {
    NetFixture s;
    s.startServices();
    LoopbackClient smtp1(s.smtpPort1), smtp2(s.smtpPort2), chat(s.chatPort), admin(s.adminPort);
    EXPECT_NE(smtp1.readUntil("\r\n", s.pump()).find("220 "), std::string::npos);
    EXPECT_NE(smtp2.readUntil("\r\n", s.pump()).find("220 "), std::string::npos);
    EXPECT_EQ(chat.readUntil("Name:  ", s.pump()), "Telnet Chat Server Service Ready\r\nEnter User Name:  ");
    EXPECT_EQ(admin.readUntil("Name:  ", s.pump()), "ADMIN Chat Server Service Ready\r\nEnter User Name:  ");
    for (const char* line : {"MTServerThread1 : SMTP E-Mail Connect from [127.000.000.001]",
                             "MTServerThread2 : SMTP E-Mail Connect from [127.000.000.001]",
                             "MTServerThread3 : Telent Chat Server Connect from [127.000.000.001]",
                             "MTServerThread4 : Telent ADMIN Chat Server Connect from [127.000.000.001]"})
        EXPECT_TRUE(s.logged(line)) << line;
}

TEST(SocketServices, TwoChatUsersEachHaveTheirOwnSocketAndAddress) {
    NetFixture s;
    s.startServices();
    LoopbackClient first(s.chatPort), second(s.chatPort);
    first.send("alpha\r\n");
    second.send("bravo\r\n");
    ASSERT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 2; }, 10s));
    std::vector<std::string> a = s.window.row(Id::ChatUserList, 0), b = s.window.row(Id::ChatUserList, 1);
    EXPECT_NE(a[0], b[0]);
    EXPECT_NE(a[2], b[2]);
    EXPECT_EQ(a[3], "127.000.000.001");
    EXPECT_EQ(b[3], "127.000.000.001");
}

TEST(SocketServices, APortThatCannotBeHadIsLoggedAndTheOthersWork) {
    NetFixture s;
    const TakenPort held;
    const int port = held.port;

    s.state.SMTP_Port_Number1 = port;
    s.state.SMTP_Port_Number2 = FreeLoopbackPort();
    s.station.network.setLimits(s.limits);
    s.station.network.StartNetworkServices();
    std::string line = "MTServerThread1 : SMTP E-Mail cannot listen on port " + std::to_string(port) +
                       ": bind failed: Address already in use";
    EXPECT_TRUE(s.waitLogged(line));
    EXPECT_EQ(s.state.smtpListenSocket1, -1);
    ASSERT_TRUE(s.time.runUntil([&] { return s.state.smtpListenSocket2 >= 0; }, 5s));
    LoopbackClient other(s.state.SMTP_Port_Number2);
    EXPECT_NE(other.readUntil("\r\n", s.pump()).find("220 "), std::string::npos);
}

TEST(SocketServices, AHeldPortIsTriedAgainUntilItIsFree) {
    NetFixture s;
    TakenPort held;
    const int port = held.port;

    s.limits.bindRetryFor = 30s;
    s.state.SMTP_Port_Number1 = port;
    s.station.network.setLimits(s.limits);
    s.station.network.StartNetworkServices();
    EXPECT_TRUE(s.waitLogged("MTServerThread1 : SMTP E-Mail port " + std::to_string(port) +
                             " is in use, trying again every 50 ms for 30 s"));
    held.release();
    ASSERT_TRUE(s.time.runUntil([&] { return s.state.smtpListenSocket1 >= 0; }, 10s));
    LoopbackClient client(port);
    EXPECT_EQ(client.readUntil("\r\n", s.pump()).substr(0, 4), "220 ");
}

TEST(SocketServices, ListenOnTheOperatorsAddressOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"127.0.0.2", "Network services listen on 127.0.0.2 only"},
        // A typing error never opens the station to every network.
        {"127.0.0.x", "KOVAListenAddress \"127.0.0.x\" is not an IPv4 address, network services listen on 127.0.0.1 only"},
    };
    for (const auto& [text, line] : cases) {
        NetFixture s;
        s.state.KOVAListenAddress = text;
        s.startServices();
        EXPECT_TRUE(s.logged(line)) << text;
        sockaddr_in bound{};
        socklen_t length = sizeof bound;
        ASSERT_EQ(::getsockname(s.state.smtpListenSocket1, reinterpret_cast<sockaddr*>(&bound), &length), 0);
        char shown[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &bound.sin_addr, shown, sizeof shown);
        EXPECT_EQ(std::string(shown), text == "127.0.0.2" ? "127.0.0.2" : "127.0.0.1");
    }
}

TEST(SocketServices, OnlyTheLow16BitsOfAPortAreUsed) {
    NetFixture s;
    int port = FreeLoopbackPort();
    s.state.SMTP_Port_Number1 = 65536 + port;
    s.station.network.setLimits(s.limits);
    s.station.network.StartNetworkServices();
    s.time.runUntil([&] { return s.state.smtpListenSocket1 >= 0; }, 5s);
    LoopbackClient client(port);
    EXPECT_NE(client.readUntil("\r\n", s.pump()).find("220 "), std::string::npos);
}

TEST(SocketServices, OneAddressHoldsAtMostItsShareOfAService) {
    NetFixture s;
    s.limits.sessionsPerAddress = 3;
    s.startServices();
    std::vector<std::unique_ptr<LoopbackClient>> fromOne;
    for (int i = 0; i < 3; ++i) {
        fromOne.push_back(std::make_unique<LoopbackClient>(s.smtpPort1, "127.0.0.2"));
        EXPECT_EQ(fromOne.back()->readUntil("\r\n", s.pump()).substr(0, 4), "220 ");
    }
    LoopbackClient fourth(s.smtpPort1, "127.0.0.2"), fifth(s.smtpPort1, "127.0.0.2");
    const std::string refusal = "421 " + s.station.network.hostName() + " Too many connections, try again later\r\n";
    EXPECT_EQ(fourth.readToEnd(s.pump()), refusal);
    EXPECT_EQ(fifth.readToEnd(s.pump()), refusal);
    // Another host, and the same host on another service, are still served.
    LoopbackClient other(s.smtpPort1, "127.0.0.3");
    EXPECT_EQ(other.readUntil("\r\n", s.pump()).substr(0, 4), "220 ");
    LoopbackClient chat(s.chatPort, "127.0.0.2");
    EXPECT_NE(chat.readUntil("Name:  ", s.pump()).find("Enter User Name:  "), std::string::npos);
    EXPECT_EQ(s.timesLogged("MTServerThread1 : SMTP E-Mail holds 3 sessions from [127.000.000.002], turning its "
                            "further connections away"),
              1);

    // A place given back is free again for that host.
    fromOne.front()->send("QUIT\r\n");
    fromOne.front()->readToEnd(s.pump());
    ASSERT_TRUE(s.waitLogged("Ending connection"));
    EXPECT_EQ(greetingOnceFree(s, "127.0.0.2").substr(0, 4), "220 ");
}

TEST(SocketServices, AServiceAtItsLimitTurnsConnectionsAway) {
    NetFixture s;
    s.limits.sessionsPerService = 2;
    s.startServices();
    LoopbackClient one(s.smtpPort1), two(s.smtpPort1);
    one.readUntil("\r\n", s.pump());
    two.readUntil("\r\n", s.pump());
    LoopbackClient three(s.smtpPort1), four(s.smtpPort1);
    EXPECT_EQ(three.readToEnd(s.pump()), "421 " + s.station.network.hostName() + " Too many connections, try again later\r\n");
    EXPECT_TRUE(four.readToEnd(s.pump()).find("421 ") == 0);
    LoopbackClient chat1(s.chatPort), chat2(s.chatPort);
    chat1.readUntil("Name:  ", s.pump());
    chat2.readUntil("Name:  ", s.pump());
    LoopbackClient chat3(s.chatPort);
    EXPECT_EQ(chat3.readToEnd(s.pump()), "Too many users connected, please try again later\r\n");

    std::vector<std::string> messages = s.logMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         "MTServerThread1 : SMTP E-Mail holds its limit of 2 sessions, turning connections away"),
              1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "MTServerThread1 : SMTP E-Mail Connect from [127.000.000.001]"), 2);

    one.send("QUIT\r\n");
    one.readToEnd(s.pump());
    ASSERT_TRUE(s.waitLogged("Ending connection"));
    EXPECT_EQ(greetingOnceFree(s, "127.0.0.1").substr(0, 4), "220 ");
}

TEST(SocketServices, TheStopEndsEverySession) {
    NetFixture s;
    s.startServices();
    LoopbackClient smtp(s.smtpPort1), chat(s.chatPort), admin(s.adminPort);
    smtp.readUntil("\r\n", s.pump());
    chat.send("desk\r\n");
    admin.send("boss\r\n");
    ASSERT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 2; }, 10s));
    s.station.network.Stop();
    EXPECT_EQ(s.window.rowCount(Id::ChatUserList), 0);
    for (LoopbackClient* client : {&smtp, &chat, &admin}) {
        client->readToEnd(s.pump(), 2s);
        EXPECT_TRUE(client->peerClosed());
    }
    LoopbackClient late(s.smtpPort1);
    EXPECT_FALSE(late.connected());
}
