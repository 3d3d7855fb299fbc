// Chat users over telnet: the login, a line on the air framed by idle codes
// and shown to every user, line breaking, the caret macros of the echo, each
// line mode's route, turns with the file transmitter, and the ends of a
// session (a peer that closes, the idle limit, Kill).

#include <gtest/gtest.h>

#include <regex>

#include "net/ChatSession.h"
#include "support/CodingFixture.h"
#include "support/NetFixture.h"
#include "support/TelnetUser.h"

using namespace std::chrono_literals;

namespace {

constexpr char kLtrs = 31;


// The codes of `text` in MILITARY from letters shift; made before the
// station's fixture, whose working directory it would leave.
std::string militaryCodes(std::string_view text) {
    CodingFixture coding;
    std::vector<int> codes = coding.encode(text, kModeMilitary);
    return std::string(codes.begin(), codes.end());
}

struct ChatFixture : NetFixture {
    ChatFixture() {
        state.shiftState = kLtrs;
        startServices();
    }
    // Waits until a chat line has gone out and the line is free again.
    bool lineSent(const std::string& shown, TelnetUser& observer) {
        std::string seen = observer.readUntil(shown);
        return seen.find(shown) != std::string::npos && time.runUntil([&] { return state.lineBusy == 0; }, 10s);
    }
};

}  // namespace

TEST(ChatSession, LogsInWithANameAndListsTheUser) {
    ChatFixture s;
    LoopbackClient client(s.chatPort);
    EXPECT_EQ(client.readUntil("Name:  ", s.pump()), "Telnet Chat Server Service Ready\r\nEnter User Name:  ");
    client.take();
    for (const char* refused : {"d\r\n", "de\tsk\r\n", "\xff\xfb\x18\r\n"}) {
        client.send(refused);
        EXPECT_EQ(client.readUntil("Name:  ", s.pump()), "Re-Enter User Name:  ") << refused;
        client.take();
    }
    client.send("desk\r\n");
    EXPECT_EQ(client.readUntil(TelnetUser::kSessionBegins, s.pump()),
              "\n\r\n\rWelcome \"desk\" to this chat session, please remember "
              "\n\rto finish your entry with a carriage return following\n\ryour last entry to send it off."
              "\n\r------------- Begin Session ---------------------\n\r\n\r");
    ASSERT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 1; }, 5s));
    std::vector<std::string> row = s.window.row(Id::ChatUserList, 0);
    EXPECT_EQ(row[0], "desk");
    EXPECT_EQ(row[1].substr(0, 10), "12/09 10:0");
    EXPECT_GT(std::stoi(row[2]), 2);
    EXPECT_EQ(row[3], "127.000.000.001");
}

TEST(ChatSession, ASilentLoginFails) {
    NetFixture quick;
    quick.limits.receiveWait = 200ms;
    quick.startServices();
    LoopbackClient client(quick.chatPort);
    client.readToEnd(quick.pump());
    EXPECT_TRUE(quick.waitLogged("Login Failure -- Ending connection"));
    EXPECT_EQ(quick.window.rowCount(Id::ChatUserList), 0);
}

// Mend: each byte came well within the receive wait, so a name trickled a
// byte at a time kept a login open for as long as the client liked.
TEST(ChatSession, ALoginTrickledByteByByteEndsAtTheLoginLimit) {
    NetFixture quick;
    quick.limits.receiveWait = 10s;
    quick.limits.telnetLoginLimit = 300ms;
    quick.startServices();
    for (int port : {quick.chatPort, quick.adminPort}) {
        const int failures = quick.timesLogged("Login Failure -- Ending connection");
        LoopbackClient client(port);
        client.readUntil("Name:  ", quick.pump());
        // About ten seconds of a byte every 20 ms, unless the station hangs up first.
        for (int sent = 0; sent < 500 && !client.peerClosed(); ++sent) {
            client.send("x");
            client.readUntil("\r\n\r\n", quick.pump(), 20ms);
        }
        EXPECT_TRUE(client.peerClosed()) << port;
        EXPECT_TRUE(quick.time.runUntil(
            [&] { return quick.timesLogged("Login Failure -- Ending connection") == failures + 1; }, 5s));
    }
    EXPECT_EQ(quick.window.rowCount(Id::ChatUserList), 0);
}

TEST(ChatSession, ALineGoesOnTheAirAndEveryUserSeesIt) {
    const std::string expected = militaryCodes("\n\rDESK::  HELLO\r\n");
    ChatFixture s;
    s.openPort();
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    desk.type("hello\r\n");
    ASSERT_TRUE(s.lineSent("\n\rDESK::  HELLO\r\n", observer));
    EXPECT_EQ(WithoutIdleRuns(s.air), WithoutIdleRuns(expected));
    EXPECT_GT(s.air.find_first_not_of(kLtrs), 0u) << "letters shifts lead in (how many depends on the session thread's pace)";
    EXPECT_EQ(observer.take(), "\n\rDESK::  HELLO\r\n");
    s.time.runFor(500ms);
    EXPECT_EQ(desk.take(), "\n\rDESK::  HELLO\r\n") << "the typist sees the line once";
    EXPECT_EQ(s.window.text(Id::TextView), "\n\rdesk::  hello\r\n");
    EXPECT_EQ(s.state.transmitOn, 0) << "autostart is off";
}

TEST(ChatSession, TextAfterTheLastLineEndIsDropped) {
    ChatFixture s;
    s.openPort();
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    desk.type("one\r\ntwo");
    ASSERT_TRUE(s.lineSent("\n\rDESK::  ONE\r\n", observer));
    desk.type("\r\n");
    s.time.runFor(3s);
    EXPECT_EQ(observer.take(), "\n\rDESK::  ONE\r\n");
    EXPECT_EQ(PrintedAir(s.air), "DESK::  ONE");
}

TEST(ChatSession, Utf8SplitAcrossReceivesAirsInLatin1ThroughTheDictionary) {
    ChatFixture s;
    s.openPort();
    ASSERT_TRUE(s.station.encoder.LoadIntCharDict(std::string(TARVIK_SOURCE_DIR) + "/station/IntCharDict.txt"));
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    desk.type("caf\xc3");
    s.time.runFor(200ms);
    desk.type("\xa9 5\xe2\x82\xac\r\n");
    ASSERT_TRUE(s.lineSent("\n\rDESK::  CAF\xe9 5EUR\r\n", observer));
    EXPECT_EQ(PrintedAir(s.air), "DESK::  CAFE 5EUR");
}

// Mend: a 64 KB line held the line for about three hours at 45 baud, every
// file and user waiting behind it; before that, a line that filled the input
// buffer without an end kept its user off the air for good.
TEST(ChatSession, ALineIsCutAfter1024CharactersAndTheNextGoesOut) {
    const std::string longest(ChatSession::kLongestLine, 'x');
    struct Case {
        const char* what;
        std::string typed;
        // Typed once the first line is on the air, before the next line.
        std::string rest;
        bool cut;
    };
    const Case cases[] = {
        {"the longest line", longest + "\r\n", "", false},
        {"a character more", longest + "y\r\n", "", true},
        {"64 KB without an end", std::string(65536, 'x'), "xxx\r\n", true},
    };
    const std::string first = "DESK::  " + std::string(ChatSession::kLongestLine, 'X');
    for (const Case& c : cases) {
        ChatFixture s;
        s.openPort();
        TelnetUser desk(s, s.chatPort, "desk");
        desk.type(c.typed);
        ASSERT_TRUE(s.time.runUntil([&] { return PrintedAir(s.air) == first; }, 60s)) << c.what;
        desk.type(c.rest + "next\r\n");
        EXPECT_TRUE(s.time.runUntil([&] { return PrintedAir(s.air) == first + "DESK::  NEXT"; }, 60s))
            << c.what << ": nothing more of the long line";
        EXPECT_EQ(s.logged("Chat line of desk cut after 1024 characters"), c.cut) << c.what;
    }
}

TEST(ChatSession, BreaksLongLines) {
    struct Case {
        int limit;
        std::string typed;
        std::string shown;
    };
    const Case cases[] = {
        {72, std::string(61, 'x') + " yy\r\n", "\n\rDESK::  " + std::string(61, 'X') + " \r\nYY\r\n"},
        {72, std::string(70, 'x') + "\r\n", "\n\rDESK::  " + std::string(65, 'X') + "\r\n" + std::string(5, 'X') + "\r\n"},
        {0, "ab\r\n", "\n\rD\r\nE\r\nS\r\nK\r\n:\r\n:\r\n \r\n \r\nA\r\nB\r\n\r\n"},
    };
    for (const Case& c : cases) {
        ChatFixture s;
        s.state.KOVAAutoLine72 = c.limit;
        TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
        desk.type(c.typed);
        EXPECT_TRUE(s.lineSent(c.shown, observer)) << c.typed;
        EXPECT_EQ(observer.take(), c.shown) << c.typed;
        EXPECT_EQ(s.state.softWrapColumn, c.limit - 5);
    }
}

TEST(ChatSession, TheTypistSeesMacrosExpandedForThemAlone) {
    ZoneGuard utc("UTC");
    ChatFixture s;
    s.openPort();
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    desk.type("^t\r\n");
    ASSERT_TRUE(s.time.runUntil([&] { return desk.client.readUntil("\r\n", [] {}, 1ms).find("\r\n") != std::string::npos; }, 10s));
    s.time.runUntil([&] { return s.state.lineBusy == 0; }, 10s);
    EXPECT_TRUE(std::regex_match(desk.take(), std::regex("\n\rDESK::  \x7f[0-9]{2}:[0-9]{2}\\(UTC\\)\x7f\r\n")));
    EXPECT_EQ(observer.take(), "\n\rDESK::  ^T\r\n");
    std::string decoded = PrintedAir(s.air);
    EXPECT_TRUE(std::regex_match(decoded, std::regex("DESK::  [0-9]{2}:[0-9]{2}\\(UTC\\)"))) << decoded;
}

TEST(ChatSession, EachModeTakesItsRoute) {
    {
        ChatFixture s;
        s.state.MODE = kModeAscii;
        s.openPort();
        TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
        desk.type("hello\r\n");
        ASSERT_TRUE(s.lineSent("\n\rdesk::  hello\r\n", observer));
        EXPECT_EQ(s.air, "\n\rdesk::  hello\r\n") << "no letters shifts in ASCII";
    }
    {
        ChatFixture s;
        s.state.MODE = kModePsk31;
        TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
        desk.type("hi\r\n");
        ASSERT_TRUE(s.lineSent("\n\rdesk::  hi\r\n", observer));
        std::vector<int> sent;
        for (int code : s.psk.characters())
            if (code != kLtrs) sent.push_back(code);
        std::vector<int> expected;
        for (char c : std::string("\n\rdesk::  hi\r\n")) expected.insert(expected.end(), {0, c});
        EXPECT_EQ(sent, expected) << "an idle character before each one";
    }
    {
        ChatFixture s;
        s.state.MODE = kModeCw;
        s.state.TxLine = Id::TxLineRts;
        s.openPort();
        TelnetUser desk(s, s.chatPort, "ee"), observer(s, s.chatPort, "obs");
        desk.type("e\r\n");
        ASSERT_TRUE(s.lineSent("\n\ree::  e\r\n", observer));
        std::vector<std::string> keyed = s.driver.takeEvents();
        // E, E, :, :, E: one, one, six, six and one elements.
        ASSERT_EQ(keyed.size(), 30u);
        for (std::size_t i = 0; i < keyed.size(); ++i) EXPECT_EQ(keyed[i], i % 2 == 0 ? "RTS+" : "RTS-");
        EXPECT_EQ(desk.take(), "") << "a CW line is not echoed";
    }
}

TEST(ChatSession, ALineWaitsForTheLineWithoutTakingInput) {
    ChatFixture s;
    s.openPort();
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    s.state.lineBusy = 1;
    desk.type("hello\r\n");
    s.time.runFor(3s);
    EXPECT_EQ(s.air, "");
    s.state.txHistory.record('Z');
    EXPECT_EQ(desk.readUntil("Z"), "Z") << "the line is still shown";
    desk.take();
    observer.readUntil("Z");
    observer.take();
    s.state.lineBusy = 0;
    ASSERT_TRUE(s.lineSent("\n\rDESK::  HELLO\r\n", observer));
    s.time.runFor(3s);
    EXPECT_EQ(observer.take(), "\n\rDESK::  HELLO\r\n");
    EXPECT_EQ(PrintedAir(s.air), "DESK::  HELLO");
}

// Mend: on the sound path with the transmitter off (after $RX) a chat line
// waited for ever for the stopped modulator, holding the line, and the
// station's stop waited for the chat line.
TEST(ChatSession, ALineDoesNotWaitForAStoppedModulator) {
    ChatFixture s;
    s.state.soundCardID = kSoundCardAuto;
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    desk.type("hello\r\n");
    ASSERT_TRUE(s.lineSent("\n\rDESK::  HELLO\r\n", observer));
    EXPECT_EQ(s.state.modPending.count(), 0) << "nothing kept for the next transmitter-on";
}

TEST(ChatSession, AutostartSwitchesTheTransmitterAroundALine) {
    ChatFixture s;
    s.state.KOVAAutoStart = 1;
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    desk.type("hi\r\n");
    ASSERT_TRUE(s.lineSent("\n\rDESK::  HI\r\n", observer));
    EXPECT_EQ(s.logMessagesFrom("CmTX : Transmitter ON"),
              (std::vector<std::string>{"CmTX : Transmitter ON", "CmRX : Transmitter OFF"}));
}

TEST(ChatSession, SessionsEndWhenThePeerClosesOrFallsSilent) {
    ChatFixture s;
    auto ends = [&] {
        std::vector<std::string> found;
        for (const std::string& line : s.logMessages())
            if (line.rfind("Ending connection for [", 0) == 0) found.push_back(line.substr(line.find(']')));
        return found;
    };
    {
        TelnetUser gone(s, s.chatPort, "gone");
        gone.client.close();
        // The end line is written and the row goes: both, before the next user.
        ASSERT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 0 && ends().size() == 1; }, 2s));
    }
    TelnetUser idle(s, s.chatPort, "idle");
    s.clock.advance(3601s);
    idle.client.readToEnd(s.pump(), 5s);
    EXPECT_TRUE(idle.client.peerClosed());
    // The row goes after the end line.
    ASSERT_TRUE(s.time.runUntil([&] { return ends().size() == 2 && s.window.rowCount(Id::ChatUserList) == 0; }, 5s));
    EXPECT_EQ(ends(), (std::vector<std::string>{"] gone ", "] idle "}));
}

TEST(ChatSession, KillShutsTheChosenUserOut) {
    ChatFixture s;
    ChatUserList& users = s.station.network.chatUsers();
    users.Kill();
    EXPECT_TRUE(s.logged("Failed to delete chat user "));

    TelnetUser first(s, s.chatPort, "first");
    TelnetUser second(s, s.chatPort, "second");
    std::string number = s.window.row(Id::ChatUserList, 1)[2];
    s.window.listSetCurrent(Id::ChatUserList, 1);
    users.OnLeftClick();
    EXPECT_TRUE(s.window.controlEnabled(Id::KillButton));
    users.Kill();
    EXPECT_FALSE(s.window.controlEnabled(Id::KillButton));
    // The row goes at once, before the session has noticed.
    EXPECT_TRUE(s.logged("Deleted Chat user second"));
    ASSERT_EQ(s.window.rowCount(Id::ChatUserList), 1);
    EXPECT_EQ(s.window.row(Id::ChatUserList, 0)[0], "first");
    second.client.readToEnd(s.pump(), 5s);
    EXPECT_TRUE(second.client.peerClosed());
    ASSERT_TRUE(s.waitLogged("Ending connection for [" + number + "] second "));
    // The ending session finds its row gone and removes no other.
    ASSERT_EQ(s.window.rowCount(Id::ChatUserList), 1);
    EXPECT_EQ(s.window.row(Id::ChatUserList, 0)[0], "first");

    s.window.listSetCurrent(Id::ChatUserList, 0);
    users.OnRightClick();
    EXPECT_EQ(s.window.rowSelected(Id::ChatUserList), -1);
    EXPECT_FALSE(s.window.controlEnabled(Id::KillButton));
}
