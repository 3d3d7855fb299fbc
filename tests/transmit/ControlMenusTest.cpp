#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "support/TransmitFixture.h"

using namespace std::chrono_literals;

TEST(ControlMenus, SwitchesFlipTheirFlagAndCheckMark) {
    TransmitFixture s;
    struct Case { int id; Flag& flag; };
    for (const Case& c : {Case{Id::Diddle, s.state.diddleEnable}, Case{Id::Header, s.state.headerEnable},
                          Case{Id::Autostart, s.state.KOVAAutoStart}, Case{Id::NoTimer, s.state.checkNoTimer},
                          Case{Id::InternetLink, s.state.internetLinkEnable}}) {
        int before = c.flag;
        EXPECT_TRUE(s.station.controlMenus.handle(c.id));
        EXPECT_EQ(c.flag, before ? 0 : 1) << c.id;
        EXPECT_EQ(s.window.menuItemChecked(c.id), c.flag != 0) << c.id;
    }
    EXPECT_FALSE(s.station.controlMenus.handle(Id::ModeAscii));
}

TEST(ControlMenus, TheBreakSignalHoldsUntilChosenAgain) {
    TransmitFixture s;
    s.openPort();
    s.time.everyPump = [&] {
        if (s.time.pumps == 50) s.station.controlMenus.handle(Id::SendBreakSignal);
    };
    s.station.controlMenus.handle(Id::SendBreakSignal);
    EXPECT_EQ(s.state.sendBreakSignal, 0);
    EXPECT_FALSE(s.window.menuItemChecked(Id::SendBreakSignal));
    EXPECT_EQ(s.state.transmitOn, 0);
    EXPECT_EQ(s.driver.takeEvents(), (std::vector<std::string>{"BREAK+", "BREAK-"}));
    EXPECT_TRUE(s.logged("CmTX : Transmitter ON"));
}

TEST(ControlMenus, TestTextsAreFramedAndLeaveTheSchedulerOff) {
    TransmitFixture s;
    s.openPort();
    s.writeData("RYRYRYRY.txt", "RY");
    s.station.session.CmEnable();
    s.station.controlMenus.handle(Id::SendRyRy);
    EXPECT_EQ(s.logMessagesFrom("CmRYRYRYRY : Sending <RYRYRYRY.txt> file."),
              (std::vector<std::string>{"CmRYRYRYRY : Sending <RYRYRYRY.txt> file.", "CmDisable : Scheduler DISABLED",
                                        "CmTX : Transmitter ON", "TXFile : Sending file <RYRYRYRY.txt>.",
                                        "CmRX : Transmitter OFF"}));
    EXPECT_EQ(s.state.scheduleEnable, 0);
    EXPECT_NE(s.air.find(std::string{31, 10, 21}), std::string::npos) << "R Y after the letters shifts";

    s.state.MODE = kModeCw;
    s.station.controlMenus.handle(Id::SendQuickBrownFox);
    EXPECT_FALSE(s.logged("TXFile : Sending file <thefox.txt>.")) << "no test text in CW";
}

TEST(TimerControl, StoppingTheClockRunsOneLastTick) {
    TransmitFixture s;
    s.state.timerTick = 0;
    s.station.timerControl.OnTimer(TimerControl::kStopClock);
    EXPECT_EQ(s.state.timerTick, 1);
    EXPECT_FALSE(s.time.running(kClockTimerId));
    s.time.runFor(3s);
    EXPECT_EQ(s.state.timerTick, 1);
}
