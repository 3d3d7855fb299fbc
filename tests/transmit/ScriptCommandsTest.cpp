#include <gtest/gtest.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "support/TransmitFixture.h"

namespace {
struct ScriptFixture : TransmitFixture {
    void run(const std::string& command) { station.scripts.RunScriptCommand(command); }
};
}  // namespace

TEST(ScriptCommands, SpeedsMatchTheirLongestKeyFirst) {
    ScriptFixture s;
    struct Case { const char* command; float baud; int menuId; };
    for (const Case& c : {Case{"B56000", 56000, 32879}, Case{"b56", 56.9f, 32867}, Case{"B45", 45.45f, 32865},
                          Case{"B1200", 1200, 32874}, Case{"B110", 110, 32870}, Case{"B19200", 19200, 32877}}) {
        s.run(c.command);
        EXPECT_FLOAT_EQ(s.state.BAUD, c.baud) << c.command;
        EXPECT_TRUE(s.window.menuItemChecked(c.menuId)) << c.command;
    }
}

TEST(ScriptCommands, ModesFrequenciesAndSwitches) {
    ScriptFixture s;
    s.run("ita2");
    EXPECT_EQ(s.state.MODE, kModeIta2);
    s.run("TELEX");
    EXPECT_EQ(s.state.MODE, kModeTelex);
    s.run("ASCII");
    EXPECT_EQ(s.state.DATABITS, 8);
    s.run("MILITARY");
    EXPECT_EQ(s.state.MODE, kModeMilitary);
    s.run("CW");
    EXPECT_EQ(s.state.MODE, kModeCw);
    s.run("F1800");
    EXPECT_FLOAT_EQ(s.state.pskFrequency, 1800.0f);
    s.state.soundCardID = 0;
    s.run("PSK=1234.5");
    EXPECT_EQ(s.state.MODE, kModePsk31);
    EXPECT_FLOAT_EQ(s.state.pskFrequency, 1234.5f);
    s.run("PSK=150");
    EXPECT_FLOAT_EQ(s.state.pskFrequency, 1234.5f) << "200 Hz or less is refused";
    s.run("FSK=2210");
    EXPECT_FLOAT_EQ(s.station.scripts.fskCenter(), 2210.0f);

    s.run("HEADER");
    EXPECT_EQ(s.state.headerEnable, 1);
    EXPECT_TRUE(s.window.menuItemChecked(Id::Header));
    s.run("NOHEADER");
    EXPECT_EQ(s.state.headerEnable, 0);
    EXPECT_FALSE(s.window.menuItemChecked(Id::Header));
    s.run("DITTLE");
    EXPECT_EQ(s.state.diddleEnable, 0) << "the diddle switch answers to DID, not DIT";
    s.run("DIDDLE");
    EXPECT_EQ(s.state.diddleEnable, 1);
    s.run("NODIDDLE");
    EXPECT_EQ(s.state.diddleEnable, 0);
    s.run("PON");
    s.run("RTS");
    EXPECT_EQ(s.state.TxLine, Id::TxLineRts);
    EXPECT_TRUE(s.window.menuItemChecked(Id::TxLineRts));
    s.run("DTR");
    EXPECT_EQ(s.state.TxLine, Id::TxLineDtr);
}

TEST(ScriptCommands, TransmitterTimerAndDisable) {
    ScriptFixture s;
    s.run("TX");
    EXPECT_EQ(s.state.transmitOn, 1);
    s.run("CWTimer");
    EXPECT_EQ(s.state.cwTimerCheck, 1);
    EXPECT_TRUE(s.window.menuItemChecked(Id::AutoCwIdTimer));
    EXPECT_TRUE(s.logged("Completed CWID")) << "the timer starts with an identification when idle";
    s.run("CWSTOP");
    EXPECT_EQ(s.state.CWTimer, -1);
    s.station.session.CmEnable();
    s.run("DISABLE");
    EXPECT_EQ(s.state.scheduleEnable, 0);
    EXPECT_EQ(s.state.transmitOn, 0);
}

TEST(ScriptCommands, PortChanges) {
    ScriptFixture s;
    s.run("COM0");
    EXPECT_EQ(s.logMessages().back(), "COMM Port is disabled");
    s.run("COM3");
    EXPECT_EQ(s.logMessages().back(), "Error: Non-existant Port Number");
    s.run("COM9");
    EXPECT_EQ(s.logMessages().back(), "Error: Non-existant Port Number");
    EXPECT_EQ(s.state.m_CommPort, "NULL");

    s.state.commPortAvailable[1] = 1;
    s.run("COM1");
    EXPECT_NE(s.state.commHandle, kNoPortHandle);
    EXPECT_EQ(s.logMessages().back(), "ComPort Changed to COM1");
    EXPECT_TRUE(s.window.menuItemChecked(Id::Com1));

    s.state.commPortAvailable[2] = 1;
    ::setenv("TARVIK_COM2", "/dev/gone-away", 1);
    s.run("COM2");
    ::unsetenv("TARVIK_COM2");
    EXPECT_TRUE(s.exits.empty()) << "a script never ends the station";
    auto lines = s.logMessages();
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) {
                               return line.rfind("OpenCommPort : Could not open comm port [ COM2 ]", 0) == 0;
                           }),
              lines.end());
}

// Mend: a $COMn whose port failed left its name in m_CommPort and the check
// on the old port, which it had closed.
TEST(ScriptCommands, AFailedPortChangeLeavesNameAndCheckOnThePortThatIsOpen) {
    ScriptFixture s;
    s.openPort();
    s.state.commPortAvailable[2] = 1;
    ::setenv("TARVIK_COM2", "/dev/gone-away", 1);
    s.run("COM2");
    EXPECT_EQ(s.state.m_CommPort, "COM1");
    EXPECT_NE(s.state.commHandle, kNoPortHandle);
    EXPECT_TRUE(s.window.menuItemChecked(Id::Com1));
    EXPECT_FALSE(s.window.menuItemChecked(Id::Com1 + 1));
    EXPECT_EQ(s.logMessages().back(), "ComPort not changed to COM2, it is COM1");
    s.station.router.SendCode('R');
    s.air += s.pty.readAvailable(0);
    EXPECT_EQ(s.air, "R") << "the station still keys its old port";

    ::setenv("TARVIK_COM1", "/dev/gone-away", 1);
    s.run("COM2");
    ::unsetenv("TARVIK_COM2");
    EXPECT_EQ(s.state.m_CommPort, "NULL");
    EXPECT_EQ(s.state.commHandle, kNoPortHandle);
    for (int id = Id::ComDisabled; id <= Id::Com8; ++id) EXPECT_FALSE(s.window.menuItemChecked(id)) << id;
    EXPECT_EQ(s.logMessages().back(), "ComPort not changed to COM2, it is NULL");
}

TEST(ScriptCommands, ASpeedChangeOnAPortThatIsGoneKeepsTheStationRunning) {
    ScriptFixture s;
    s.openPort();
    s.station.serialMenus.ChooseComPort(Id::ComDisabled);
    s.run("B50");
    EXPECT_TRUE(s.exits.empty());
    EXPECT_FLOAT_EQ(s.state.BAUD, 50.0f);
    EXPECT_EQ(s.logMessages().back().rfind("OpenCommPort : Could not open comm port [ Disabled ]", 0), 0u);
}

TEST(ScriptCommands, ReloadRereadsWordsDictionaryAndQueue) {
    ScriptFixture s;
    s.state.scheduleListPath = "data\\schedule.lst";
    s.state.scheduleTempPath = "data\\schedule_temp.lst";
    WriteBinaryFile("Tarvik.ini", "KOVAMODERATEDWORD=\"hold\"\n");
    WriteBinaryFile("IntCharDict.txt", "233 E\n");
    WriteBinaryFile("data/schedule.lst", "12/09/2099 10:00:00 x.txt\n");
    s.run("RELOAD");
    EXPECT_EQ(*s.state.moderatedWords.words(), std::vector<std::string>{"HOLD"});
    std::string text;
    EXPECT_TRUE(s.station.encoder.LookupIntChar(233, text));
    EXPECT_EQ(s.window.list(Id::QueueList), std::vector<std::string>{"12/09/2099 10:00:00 x.txt"});
    EXPECT_EQ(s.logMessagesFrom("Reloading Moderated Words").size(), 3u);
}
