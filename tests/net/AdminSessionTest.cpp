// The admin user over telnet: characters on the air as they are typed, the
// echo through txHistory, automatic line breaks, the text view, and the
// transmitter switched on and off in autostart mode.

#include <gtest/gtest.h>

#include "support/CodingFixture.h"
#include "support/NetFixture.h"
#include "support/TelnetUser.h"

using namespace std::chrono_literals;

namespace {

struct AdminFixture : NetFixture {
    AdminFixture() {
        state.shiftState = 31;
        startServices();
    }
};

}  // namespace

TEST(AdminSession, WelcomesTheAdministrator) {
    AdminFixture s;
    LoopbackClient client(s.adminPort);
    EXPECT_EQ(client.readUntil("Name:  ", s.pump()), "ADMIN Chat Server Service Ready\r\nEnter User Name:  ");
    client.send("boss\r\n");
    EXPECT_EQ(client.readUntil(TelnetUser::kSessionBegins, s.pump()),
              "ADMIN Chat Server Service Ready\r\nEnter User Name:  "
              "\n\r\n\rWelcome \"boss\" to this ADMIN chat session, please remember "
              "\n\rthat each character is immediately echoed th the output port."
              "\n\r------------- Begin Session ---------------------\n\r\n\r");
    ASSERT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 1; }, 5s));
    EXPECT_EQ(s.window.row(Id::ChatUserList, 0)[0], "boss");
}

TEST(AdminSession, TypedCharactersGoOutAtOnce) {
    std::vector<int> expected;
    {
        CodingFixture coding;
        expected = coding.encode("AB", kModeMilitary);
    }
    AdminFixture s;
    s.openPort();
    TelnetUser boss(s, s.adminPort, "boss");
    boss.type("ab");
    EXPECT_EQ(boss.readUntil("AB"), "AB");
    ASSERT_TRUE(s.time.runUntil([&] { return s.air.size() >= expected.size(); }, 5s));
    EXPECT_EQ(std::vector<int>(s.air.begin(), s.air.end()), expected) << "no idle codes without autostart";
    EXPECT_EQ(s.window.text(Id::TextView), "AB");
    EXPECT_EQ(s.state.transmitOn, 0);
}

TEST(AdminSession, Utf8TypedGoesOutInLatin1) {
    AdminFixture s;
    s.openPort();
    TelnetUser boss(s, s.adminPort, "boss");
    boss.type("\xc3");
    s.time.runFor(200ms);
    boss.type("\xa9\xe2\x80\x94");
    EXPECT_EQ(boss.readUntil("\xe9-"), "\xe9-");
    EXPECT_EQ(s.window.text(Id::TextView), "\xe9-");
}

TEST(AdminSession, BreaksLinesByTheColumnCount) {
    {
        AdminFixture s;
        s.state.KOVAAutoLine72 = 0;
        TelnetUser boss(s, s.adminPort, "boss");
        boss.type("a");
        EXPECT_EQ(boss.readUntil("A\r\n"), "\r\nA\r\n") << "the break comes directly and again from the line";
    }
    {
        AdminFixture s;
        TelnetUser boss(s, s.adminPort, "boss");
        const std::string typed = std::string(70, 'x') + "\r" + std::string(73, 'x');
        boss.type(typed);
        const std::string onTheLine = std::string(70, 'X') + "\r" + std::string(73, 'X') + "\r\n";
        boss.readUntil(std::string(73, 'X') + "\r\n");
        EXPECT_EQ(s.state.txHistory.inOrder().substr(256 - onTheLine.size()), onTheLine)
            << "Enter starts the count afresh; the 73rd character of a line is followed by a break";
    }
}

TEST(AdminSession, TheTextViewKeepsTheNewestCharacters) {
    AdminFixture s;
    s.window.setText(Id::TextView, std::string(66550, 'v'));
    TelnetUser boss(s, s.adminPort, "boss");
    boss.type("0123456789");
    boss.readUntil("0123456789");
    ASSERT_TRUE(s.time.runUntil([&] { return s.window.text(Id::TextView).size() == 66558; }, 5s));
    EXPECT_EQ(s.window.text(Id::TextView), std::string(66548, 'v') + "0123456789");
}

TEST(AdminSession, AutostartSwitchesOnAtTheFirstCharacterAndOffAfterSilence) {
    AdminFixture s;
    s.state.KOVAAutoStart = 1;
    TelnetUser boss(s, s.adminPort, "boss");
    boss.type("x");
    ASSERT_TRUE(s.time.runUntil([&] { return s.state.transmitOn == 1; }, 5s));
    boss.readUntil("X");
    ASSERT_TRUE(s.waitLogged("CmRX : Transmitter OFF", 20s));
    EXPECT_EQ(s.logMessagesFrom("CmTX : Transmitter ON"),
              (std::vector<std::string>{"CmTX : Transmitter ON", "CmRX : Transmitter OFF"}));
    EXPECT_EQ(s.state.transmitOn, 0);
}

TEST(AdminSession, KillEndsTheAdminSession) {
    AdminFixture s;
    TelnetUser boss(s, s.adminPort, "boss");
    std::string number = s.window.row(Id::ChatUserList, 0)[2];
    s.window.listSetCurrent(Id::ChatUserList, 0);
    s.station.network.chatUsers().Kill();
    boss.client.readToEnd(s.pump(), 5s);
    EXPECT_TRUE(boss.client.peerClosed());
    EXPECT_TRUE(s.waitLogged("Ending ADMIN connection for [" + number + "] boss "));
    EXPECT_EQ(s.window.rowCount(Id::ChatUserList), 0);
}

// Mend: anyone who reached the admin port could type onto the air.
TEST(AdminSession, AskedForThePasswordWhenOneIsSet) {
    AdminFixture s;
    s.state.KOVAAdminPassword = "Open Sesame";
    s.openPort();
    auto logIn = [&](LoopbackClient& client, const std::string& password) {
        client.readUntil("Name:  ", s.pump());
        client.send("boss\r\n");
        std::string asked = client.readUntil("Password:  ", s.pump());
        client.take();
        client.send(password + "\r\n");
        return asked;
    };
    {
        LoopbackClient client(s.adminPort);
        EXPECT_EQ(logIn(client, "open sesame"),
                  "ADMIN Chat Server Service Ready\r\nEnter User Name:  Enter Password:  ");
        client.send("ab");
        EXPECT_EQ(client.readToEnd(s.pump()), "Wrong password -- Ending connection\r\n");
        EXPECT_TRUE(client.peerClosed());
        EXPECT_TRUE(s.waitLogged("Login Failure -- wrong password for boss from [127.000.000.001] -- Ending connection"));
        s.time.runFor(2s);
        EXPECT_EQ(s.air, "") << "nothing of a refused user reaches the air";
        EXPECT_EQ(s.window.rowCount(Id::ChatUserList), 0);
    }
    {
        LoopbackClient client(s.adminPort);
        logIn(client, "Open Sesame");
        EXPECT_NE(client.readUntil(TelnetUser::kSessionBegins, s.pump()).find("Welcome \"boss\""), std::string::npos);
        client.take();
        client.send("ab");
        EXPECT_EQ(client.readUntil("AB", s.pump()), "AB");
        EXPECT_EQ(s.window.row(Id::ChatUserList, 0)[0], "boss");
    }
    for (const std::string& line : s.logMessages())
        EXPECT_EQ(line.find("esame"), std::string::npos) << "the password is never logged: " << line;
}
