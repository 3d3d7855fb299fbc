#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "config/ConfigurationSnapshot.h"
#include "support/TransmitFixture.h"

namespace {

struct SnapshotFixture : TransmitFixture {
    int syncs = 0;
    ConfigurationSnapshot snapshot{state, station.log, window, station.soundMenu, [this] { ++syncs; }};

    std::vector<std::string> fileLines() {
        std::string contents = ReadBinaryFile("Tarvik.cfg");
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = contents.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(contents.substr(start, end - start));
        return lines;
    }
};

}  // namespace

TEST(ConfigurationSnapshot, WritesThirtyFiveLabelledLines) {
    SnapshotFixture s;
    s.state.m_CommPort = "COM2";
    s.state.soundCardID = 2;
    s.state.KOVAAdminPortNumber = 2324;
    s.snapshot.Save();
    auto lines = s.fileLines();
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "COM2           \tm_CommPort");
    EXPECT_EQ(lines[1], "45.450001      \tBAUD");
    EXPECT_EQ(lines[16], "0              KOVASchedulerStartEnabled") << "line 17 has no tab";
    EXPECT_EQ(lines[21], "3              \tsoundCardID") << "card 3 in the initialization file's form";
    EXPECT_EQ(lines[23], "2125.000000    \tmarkTone");
    EXPECT_EQ(lines[27], "-              \tipAuthentication");
    EXPECT_EQ(lines[34], "2324           \tKOVAAdminPortNumber");
}

TEST(ConfigurationSnapshot, ARestoreGivesBackTheFieldsAndLogsTheLines) {
    SnapshotFixture s;
    s.state.BAUD = 56.9f;
    s.state.MODE = kModeAscii;
    s.state.KOVAAutoStart = 1;
    s.state.headerEnable = 1;
    s.state.markTone = 1275.5;
    s.state.KOVAEmailAddress = "NEWS DESK@";
    s.state.ipPort = "";
    s.state.KOVAAdminPortNumber = 4000;
    s.state.soundCardID = 0;
    s.snapshot.Save();

    ProgramState& state = s.state;
    state.BAUD = 45.45f;
    state.MODE = kModeMilitary;
    state.KOVAAutoStart = 0;
    state.headerEnable = 0;
    state.markTone = 2125.0;
    state.KOVAAdminPortNumber = 2323;
    s.snapshot.RestoreFromMenu();
    EXPECT_FLOAT_EQ(state.BAUD, 56.9f);
    EXPECT_EQ(state.MODE, kModeAscii);
    EXPECT_DOUBLE_EQ(state.markTone, 1275.5);
    EXPECT_EQ(state.KOVAEmailAddress, "NEWS") << "a text comes back up to its first blank";
    EXPECT_EQ(state.ipPort, "ipPort") << "an empty text comes back as its label";
    EXPECT_EQ(state.KOVAAdminPortNumber, 2323) << "the admin port is not read back";
    EXPECT_EQ(state.soundCardID, 0) << "card 1 stored as 1 comes back as 0";
    EXPECT_TRUE(s.window.menuItemChecked(Id::SoundCard1));
    EXPECT_TRUE(s.window.menuItemChecked(Id::Autostart));
    EXPECT_TRUE(s.window.menuItemChecked(Id::Header));
    EXPECT_EQ(s.syncs, 1);

    auto lines = s.logMessages();
    ASSERT_EQ(lines.size(), 2u + 34u + 1u);
    EXPECT_EQ(lines[0], std::string(76, '-'));
    EXPECT_EQ(lines[1], "CONFIG FILE \"Tarvik.cfg\" WILL BE REPLACING \"Tarvik.ini\" Settings");
    EXPECT_EQ(lines[2], "NULL           \tm_CommPort");
    EXPECT_EQ(lines[35], "0              \tKOVATelnetPortNumber");
    EXPECT_EQ(lines.back(), std::string(76, '-'));
}

TEST(ConfigurationSnapshot, EverySavedSettingComesBackFromItsOwnLine) {
    auto numbers = [](ProgramState& p) {
        return std::vector<Int*>{&p.TxLine, &p.MODE, &p.DATABITS, &p.timerTick, &p.morseTick, &p.CWTimer,
                                 &p.scheduleEnable, &p.headerEnable, &p.KOVAAutoStart, &p.KOVASchedulerStartEnabled,
                                 &p.diddleEnable, &p.transmitOn, &p.sendBreakSignal, &p.checkNoTimer, &p.cwTimerCheck,
                                 &p.KOVAAutoLine72, &p.KOVAUseSubjectFileName, &p.SMTP_Port_Number1,
                                 &p.SMTP_Port_Number2, &p.KOVATelnetPortNumber};
    };
    SnapshotFixture s;
    ProgramState& state = s.state;
    int value = 100;
    for (Int* field : numbers(state)) *field = ++value;
    state.m_CommPort = "COM7";
    state.BAUD = 110.0f;
    state.markTone = 1300.25;
    state.spaceTone = 1470.75;
    state.ipAddress = "127.0.0.2";
    state.ipPort = "8080";
    state.ipAuthentication = "secret";
    state.KOVAEmailAddress = "PODIUM@";
    s.snapshot.Save();

    ProgramState restored;  // at its defaults, filled from the same file
    ConfigurationSnapshot(restored, s.station.log, s.window, s.station.soundMenu, {}).RestoreAtStartUp();
    value = 100;
    for (Int* field : numbers(restored)) EXPECT_EQ(*field, ++value);
    EXPECT_EQ(restored.m_CommPort, "COM7");
    EXPECT_FLOAT_EQ(restored.BAUD, 110.0f);
    EXPECT_DOUBLE_EQ(restored.markTone, 1300.25);
    EXPECT_DOUBLE_EQ(restored.spaceTone, 1470.75);
    EXPECT_EQ(restored.ipAddress, "127.0.0.2");
    EXPECT_EQ(restored.ipPort, "8080");
    EXPECT_EQ(restored.ipAuthentication, "secret");
    EXPECT_EQ(restored.KOVAEmailAddress, "PODIUM@");
}

TEST(ConfigurationSnapshot, SessionFlagsAreReadButNotApplied) {
    SnapshotFixture s;
    s.state.localLock = 1;
    s.state.notSending = 0;
    s.state.transferCancel = 1;
    s.snapshot.Save();
    s.state.localLock = 0;
    s.state.notSending = 1;
    s.state.transferCancel = 0;
    s.snapshot.RestoreAtStartUp();
    EXPECT_EQ(s.state.localLock, 0);
    EXPECT_EQ(s.state.notSending, 1);
    EXPECT_EQ(s.state.transferCancel, 0);
}

TEST(ConfigurationSnapshot, AShortSnapshotStopsAtItsEndAndAMissingOneDoesNothing) {
    SnapshotFixture s;
    s.snapshot.RestoreFromMenu();
    EXPECT_TRUE(s.logMessages().empty());
    WriteBinaryFile("Tarvik.cfg", "COM3 m_CommPort\r\n50.000000 BAUD\r\n");
    s.state.TxLine = Id::TxLineDtr;
    s.snapshot.RestoreAtStartUp();
    EXPECT_EQ(s.state.m_CommPort, "COM3");
    EXPECT_FLOAT_EQ(s.state.BAUD, 50.0f);
    EXPECT_EQ(s.state.TxLine, Id::TxLineDtr);
    EXPECT_EQ(s.state.soundCardID, kSoundCardNone);
}

// Mend: a blank line emptied its text field, and an empty recipient mailbox
// accepted mail for everyone.
TEST(ConfigurationSnapshot, ABlankLineLeavesItsTextFieldUnchanged) {
    SnapshotFixture s;
    s.state.m_CommPort = "COM2";
    s.state.KOVAEmailAddress = "NEWS@";
    s.snapshot.Save();
    std::string blanked;
    for (const std::string& line : s.fileLines()) {
        bool text = line.find("\tm_CommPort") != std::string::npos || line.find("\tKOVAEmailAddress") != std::string::npos;
        blanked += (text ? std::string() : line) + "\r\n";
    }
    WriteBinaryFile("Tarvik.cfg", blanked);
    s.state.m_CommPort = "COM3";
    s.snapshot.RestoreAtStartUp();
    EXPECT_EQ(s.state.m_CommPort, "COM3");
    EXPECT_EQ(s.state.KOVAEmailAddress, "NEWS@");
    EXPECT_EQ(s.logMessages()[2], "") << "the blank line is still logged as read";
}
