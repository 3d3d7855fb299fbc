#include <gtest/gtest.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "support/TransmitFixture.h"
#include "transmit/MorseKeyer.h"

using namespace std::chrono_literals;

namespace {

// Key-down and key-up times of the transmit line, in Morse ticks of 10 ms.
struct KeyingFixture : TransmitFixture {
    KeyingFixture() {
        state.TxLine = Id::TxLineRts;
        openPort();
        start = clock.now();
    }
    long ticksBetween(Clock::TimePoint a, Clock::TimePoint b) {
        return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count() / 10);
    }
    Clock::TimePoint start;
};


}  // namespace

TEST(MorseKeyer, PatternsOfTheTable) {
    EXPECT_EQ(MorseKeyer::PatternFor('d'), "211");
    EXPECT_EQ(MorseKeyer::PatternFor('K'), "212");
    EXPECT_EQ(MorseKeyer::PatternFor('.'), "121212");
    EXPECT_EQ(MorseKeyer::PatternFor('?'), "112211");
    EXPECT_EQ(MorseKeyer::PatternFor('0'), "22222");
    for (int c : std::initializer_list<int>{' ', '!', '@', '[', '^', '_', '`', '{', '~', 127, 200, -23, 7}) EXPECT_EQ(MorseKeyer::PatternFor(c), "3") << c;
}

TEST(MorseKeyer, DeKKeysItsElementsAndGapsInTicks) {
    KeyingFixture s;
    s.station.timerControl.OnTimer(TimerControl::kStartMorse);
    std::vector<std::string> events;
    std::vector<long> at;
    s.time.everyPump = [&] {
        for (const std::string& event : s.driver.takeEvents()) {
            events.push_back(event);
            at.push_back(s.ticksBetween(s.start, s.clock.now()));
        }
    };
    for (char c : std::string("de K")) s.station.morse.SendMorseChar(c, MorseKeyer::kIdentificationGap);
    long end = s.ticksBetween(s.start, s.clock.now());
    s.time.pumpMessages();
    s.station.timerControl.OnTimer(TimerControl::kStopMorse);

    // D: dash dot dot; E: dot; word space; K: dash dot dash.
    std::vector<long> expectedDown = {20, 10, 10, 10, 20, 10, 20};
    ASSERT_EQ(events.size(), 2 * expectedDown.size());
    for (std::size_t i = 0; i < expectedDown.size(); ++i) {
        EXPECT_EQ(events[2 * i], "RTS+");
        EXPECT_EQ(events[2 * i + 1], "RTS-");
        EXPECT_NEAR(at[2 * i + 1] - at[2 * i], expectedDown[i], 1) << "element " << i;
    }
    EXPECT_NEAR(at[6] - at[5], 14 + 13, 1) << "element gap and character gap between D and E";
    EXPECT_NEAR(at[8] - at[7], 14 + 13 + 6, 1) << "E, its gaps and the word space before K";
    long total = (20 + 10 + 10 + 3 * 14 + 13) + (10 + 14 + 13) + 6 + (20 + 10 + 20 + 3 * 14 + 13);
    EXPECT_NEAR(end, total, 3);
}

TEST(CwIdentification, SendsTheFileAndKeysTheTextThenLeavesTheTransmitterOffWhenNotDue) {
    KeyingFixture s;
    s.state.cwIdText = "de K ";
    s.state.secondsUntilDue = 5;
    s.writeData("cwid.txt", "DE K");
    s.station.cwid.Cwid();
    EXPECT_EQ(s.state.transmitOn, 0);
    EXPECT_EQ(s.state.sendNow, 1);
    EXPECT_EQ(s.state.localLock, 0);
    EXPECT_FALSE(s.time.running(kMorseTimerId));
    auto lines = s.logMessagesFrom("Cwid : Sending CW Identification.");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "CmTX : Transmitter ON");
    EXPECT_EQ(lines[2], "TXFile : Sending file <cwid.txt>.");
    EXPECT_EQ(lines.back(), "Completed CWID");
    int downs = 0;
    for (const std::string& event : s.driver.takeEvents()) downs += event == "RTS+";
    EXPECT_EQ(downs, 1 + 3 + 1 + 3) << "the transmitter key, then D, E and K";
}

TEST(CwIdentification, InCwTheFileItselfIsKeyedWithTheTimerRunning) {
    KeyingFixture s;
    s.state.MODE = kModeCw;
    s.state.cwIdText = "E";
    s.writeData("cwid.txt", "T");
    s.station.cwid.Cwid();
    int downs = 0;
    for (const std::string& event : s.driver.takeEvents()) downs += event == "RTS+";
    EXPECT_EQ(downs, 1 + 1 + 1) << "the transmitter key, T from the file, E from the text";
}

TEST(CwIdentification, Psk31KeysTheTextInTheLibrary) {
    TransmitFixture s;
    s.state.MODE = kModePsk31;
    s.state.soundCardID = 0;
    s.state.cwIdText = "de K ";
    s.station.cwid.Cwid();
    auto calls = s.psk.calls();
    std::vector<std::string> tail(calls.end() - 4, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"CwIdText de K ", "Queue 2,1", "Stop", "Start"}));
}

TEST(CwIdentification, TheFirstAutomaticIdentificationComesOnThe3601stCountedStep) {
    TransmitFixture s;
    s.state.cwIdText = "E";
    s.station.transmitter.CmTX();
    s.station.controlMenus.handle(Id::AutoCwIdTimer);
    EXPECT_EQ(s.window.text(Id::CwIdCount), "0");
    EXPECT_TRUE(s.window.menuItemChecked(Id::AutoCwIdTimer));
    for (int step = 1; step <= 3600; ++step) s.station.cwid.CountStep();
    EXPECT_EQ(s.window.text(Id::CwIdCount), "0");
    EXPECT_FALSE(s.logged("Cwid : Sending CW Identification."));
    s.station.cwid.CountStep();
    EXPECT_TRUE(s.logged("Cwid : Sending CW Identification."));
    EXPECT_EQ(s.state.CWTimer, 0);
}

TEST(CwIdentification, TurningTheTimerOffWhileIdleSendsOneAtOnce) {
    TransmitFixture s;
    s.station.controlMenus.handle(Id::AutoCwIdTimer);
    s.station.transmitter.CmTX();
    s.station.controlMenus.handle(Id::AutoCwIdTimer);
    EXPECT_EQ(s.window.text(Id::CwIdCount), "OFF");
    EXPECT_EQ(s.state.CWTimer, -1);
    EXPECT_TRUE(s.logged("Completed CWID"));
}

TEST(CwIdentification, SendNowIsRefusedWithoutTheTransmitter) {
    TransmitFixture s;
    s.station.controlMenus.handle(Id::SendCwIdNow);
    ASSERT_EQ(s.window.boxes().size(), 1u);
    EXPECT_EQ(s.window.boxes()[0].text, "Works only when sending data to a TU");
    EXPECT_EQ(s.window.boxes()[0].caption, "Cannot Do it");
    EXPECT_FALSE(s.logged("Cwid : Sending CW Identification."));
}

TEST(CwIdentification, ATestMenuIdentificationDuringASessionWaitsForItsEnd) {
    TransmitFixture s;
    s.writeData("thefox.txt", "THE FOX");
    bool asked = false;
    s.time.everyPump = [&] {
        if (!asked && s.logged("TXFile : Sending file <thefox.txt>.")) {
            asked = true;
            s.station.controlMenus.handle(Id::SendCwId);
            s.station.controlMenus.handle(Id::SendRyRy);
        }
    };
    s.station.controlMenus.handle(Id::SendQuickBrownFox);
    auto lines = s.logMessagesFrom("TXFile : Sending file <thefox.txt>.");
    ASSERT_FALSE(lines.empty());
    auto off = std::find(lines.begin(), lines.end(), "CmRX : Transmitter OFF");
    auto id = std::find(lines.begin(), lines.end(), "Cwid : Sending CW Identification.");
    EXPECT_LT(off, id) << "the identification follows the test text";
    EXPECT_NE(id, lines.end());
    EXPECT_FALSE(s.logged("CmRYRYRYRY : Sending <RYRYRYRY.txt> file.")) << "no test text inside another";
}

// Mend: Send CWID chosen during an identification was kept for the end of a
// file or test text, and forgotten when none came.
TEST(CwIdentification, ATestMenuIdentificationDuringOneFollowsIt) {
    TransmitFixture s;
    s.state.cwIdText = "E";
    bool asked = false;
    s.time.everyPump = [&] {
        if (!asked && s.state.localLock) {
            asked = true;
            s.station.controlMenus.handle(Id::SendCwId);
        }
    };
    s.station.controlMenus.handle(Id::SendCwId);
    auto lines = s.logMessages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Cwid : Sending CW Identification."), 2);
    auto firstEnd = std::find(lines.begin(), lines.end(), "Completed CWID");
    EXPECT_EQ(std::find(firstEnd, lines.end(), "Cwid : Sending CW Identification."), firstEnd + 1)
        << "the second starts when the first has ended";
    EXPECT_EQ(s.state.localLock, 0);
}
