#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "support/TransmitFixture.h"

namespace {

struct IniFixture : TransmitFixture {
    std::vector<std::string> read(const std::string& contents, bool reloadOnly = false) {
        WriteBinaryFile("Tarvik.ini", contents);
        std::size_t before = logMessages().size();
        station.ini.Read(reloadOnly);
        std::vector<std::string> all = logMessages();
        return std::vector<std::string>(all.begin() + static_cast<long>(before), all.end());
    }
};

}  // namespace

TEST(InitializationFile, DefaultsStandWithoutAFileAndTheOpenFailureIsLogged) {
    IniFixture s;
    EXPECT_EQ(s.state.SMTP_Port_Number1, 0) << "before the first reading";
    s.station.ini.Read(false);
    EXPECT_EQ(s.logMessages().back(), "Unable to open Input file Tarvik.ini");
    EXPECT_EQ(s.state.SMTP_Port_Number1, 25);
    EXPECT_EQ(s.state.SMTP_Port_Number2, 593);
    EXPECT_EQ(s.state.KOVATelnetPortNumber, 23);
    EXPECT_EQ(s.state.KOVAAdminPortNumber, 2323);
    EXPECT_EQ(s.state.KOVAUseSubjectFileName, 1);
}

TEST(InitializationFile, KeysAreCaseInsensitiveSpacedAndLogged) {
    IniFixture s;
    auto lines = s.read("kovaautostart = 1\r\n  KovaHeader=1 // header on\r\nKOVANOTIMER=0\r\n"
                        "KOVASCHEDULERENABLE=1\r\nKOVASCHEDULERSTARTENABLED=1\r\nKOVASOUNDCARDID=-1\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"INIT KOVAAutoStart set to 1", "INIT KOVAHeader set to 1",
                                               "INIT checkNoTimer set to 0", "INIT KOVAscheduleEnable set to 1",
                                               "INIT KOVASchedulerStartEnabled set to 1",
                                               "INIT KOVASoundCardID set to -1"}));
    EXPECT_EQ(s.state.KOVAAutoStart, 1);
    EXPECT_EQ(s.state.headerEnable, 1);
    EXPECT_EQ(s.state.checkNoTimer, 0);
    EXPECT_EQ(s.state.schedulerEnableSetting, 1);
    EXPECT_EQ(s.state.KOVASchedulerStartEnabled, 1);
    EXPECT_EQ(s.state.soundCardID, -1);
}

TEST(InitializationFile, AutoLineIsRangeChecked) {
    struct Case { int value; int stored; std::string log; };
    for (const Case& c : {Case{90, 68, "INIT KOVAAutoLine72 - Error: Max num 90 too big, using 68"},
                          Case{40, 68, "INIT KOVAAutoLine72 - Error: Max num 40 too big, using 68"},
                          Case{46, 46, "INIT KOVAAutoLine72 - Max num of char per line set to 46"},
                          Case{80, 80, "INIT KOVAAutoLine72 - Max num of char per line set to 80"}}) {
        IniFixture s;
        auto lines = s.read("KOVAAUTOLINE72=" + std::to_string(c.value) + "\n");
        EXPECT_EQ(lines, std::vector<std::string>{c.log});
        EXPECT_EQ(s.state.KOVAAutoLine72, c.stored);
    }
}

TEST(InitializationFile, NumberPairsNeedBothNumbers) {
    IniFixture s;
    auto lines = s.read("KOVAEMAILSMTPPORTS=2525,587\nKOVAFREQUENCIES=1275.5,1445\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"SMTP Email Ports set to Primary=2525 and Secondary=587",
                                               "Sound Card Frequencies Mark=1275.500000 and Space=1445.000000"}));
    EXPECT_EQ(s.state.SMTP_Port_Number2, 587);
    EXPECT_DOUBLE_EQ(s.state.markTone, 1275.5);

    IniFixture single;
    EXPECT_TRUE(single.read("KOVAEMAILSMTPPORTS=2525\n").empty());
    EXPECT_EQ(single.state.SMTP_Port_Number1, 25);
}

// Mend: a number key without '=' was read as 0: the telnet port became 0,
// automatic start and the header went off.
TEST(InitializationFile, ANumberKeyWithoutEqualsLeavesItsFieldUnchanged) {
    IniFixture s;
    s.state.KOVATelnetPortNumber = 2300;
    s.state.KOVAAutoStart = 1;
    s.state.soundCardID = 2;
    auto lines = s.read("KOVATELNETPORTNUMBER 2323\r\nKOVAAUTOSTART 1\r\nKOVASOUNDCARDID\r\n"
                        "KOVAEMAILSMTPPORTS 2525 587\r\n");
    EXPECT_EQ(s.state.KOVATelnetPortNumber, 23) << "the default of every reading stands";
    EXPECT_EQ(s.state.KOVAAutoStart, 1);
    EXPECT_EQ(s.state.soundCardID, 2);
    EXPECT_EQ(s.state.SMTP_Port_Number1, 2525) << "a number pair may be written without '='";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "INIT KOVATELNETPORTNUMBER without \"=\" ignored, the setting is unchanged",
                         "INIT KOVAAUTOSTART without \"=\" ignored, the setting is unchanged",
                         "INIT KOVASOUNDCARDID without \"=\" ignored, the setting is unchanged",
                         "SMTP Email Ports set to Primary=2525 and Secondary=587"}));
}

TEST(InitializationFile, QuotedValuesAreUpperCasedOrKeptAndCutAtComments) {
    IniFixture s;
    auto lines = s.read("KOVACALLSIGN=\"ab1cd\"\nKOVADATAPATH=\"Data\\\"\nKOVAEMAILADDRESS=\"news@\"\n"
                        "KOVACOMMPORT=\"com2\"\nKOVACALLSIGN=\"A//B\"\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"KOVACallsign overridden and set to \"AB1CD\"",
                                               "KOVADataPath overridden and set to \"Data\\\"",
                                               "KOVAEmailAddress overridden and set to \"NEWS@\"",
                                               "KOVACommPort overridden and set to \"COM2\""}));
    EXPECT_EQ(s.state.KOVACallsign, "AB1CD");
    EXPECT_EQ(s.state.KOVADataPath, "Data\\");
    EXPECT_EQ(s.state.m_CommPort, "COM2");
}

TEST(InitializationFile, TheExposureControlsAreReadAndOffWithoutThem) {
    IniFixture s;
    s.read("KOVAAUTOLINE72=68\n");
    EXPECT_EQ(s.state.KOVAListenAddress.get(), "");
    EXPECT_EQ(s.state.KOVAMaxDataMB, 0);
    auto lines = s.read("KovaListenAddress = \"127.0.0.1\"\nKOVAMAXDATAMB=500\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"INIT KOVAListenAddress set to \"127.0.0.1\"",
                                               "INIT KOVAMaxDataMB set to 500"}));
    EXPECT_EQ(s.state.KOVAListenAddress.get(), "127.0.0.1");
    EXPECT_EQ(s.state.KOVAMaxDataMB, 500);
}

TEST(InitializationFile, TheAdminPasswordIsKeptAsWrittenAndNeverLogged) {
    struct Case { std::string line; std::string stored; std::vector<std::string> log; };
    const std::string set = "KOVAAdminPassword set: the ADMIN session asks for it after the user name";
    const Case cases[] = {
        {"KOVAADMINPASSWORD=\"Open Sesame\"\n", "Open Sesame", {set}},
        {"kovaAdminPassword = \"x\"  // the admin's\n", "x", {set}},
        {"KOVAADMINPASSWORD=\"\"\n", "", {"KOVAAdminPassword empty: the ADMIN session asks for no password"}},
        {"KOVAADMINPORTNUMBER=2324\n", "", {"INIT KOVAAdminPortNumber set to 2324"}},
        {"KOVAADMINPASSWORD=\"" + std::string(300, 'p') + "\"\n", std::string(255, 'p'),
         {"KOVAAdminPassword is longer than 255 characters and is cut to its first 255", set}},
    };
    for (const Case& c : cases) {
        IniFixture s;
        EXPECT_EQ(s.read(c.line), c.log) << c.line;
        EXPECT_EQ(s.state.KOVAAdminPassword.get(), c.stored) << c.line;
    }
}

TEST(InitializationFile, TransmitLineMapsTheWayRoundTheStationAlwaysHad) {
    struct Case { const char* value; int txLine; const char* name; };
    for (const Case& c : {Case{"dtr", 32807, "ID_RS232CONTROL_RTS"}, Case{"RTS", 32808, "ID_RS232CONTROL_DTR"},
                          Case{"DTRRTS", 32807, "ID_RS232CONTROL_RTS"}, Case{"RTSDTR", 32808, "ID_RS232CONTROL_DTR"},
                          Case{"NONE", 32806, "ID_RS232CONTROL_DISABLED"}, Case{"xyz", 32806, "ID_RS232CONTROL_DISABLED"}}) {
        IniFixture s;
        auto lines = s.read(std::string("KOVARS232CONTROL=\"") + c.value + "\"\n");
        EXPECT_EQ(s.state.TxLine, c.txLine) << c.value;
        EXPECT_EQ(lines, std::vector<std::string>{std::string("RS-232 Control set to ") + c.name +
                                                  " transmit line control."});
    }
}

TEST(InitializationFile, KeysMatchAsSubstringsOfTheWholeLine) {
    IniFixture s;
    s.state.headerEnable = 1;
    auto lines = s.read("KOVABADWORD=\"KOVAHEADER\"\n");
    EXPECT_EQ(lines, std::vector<std::string>{"INIT KOVAHeader set to 0"});
    EXPECT_EQ(s.state.headerEnable, 0);
    EXPECT_EQ(*s.state.badWords.words(), std::vector<std::string>{"KOVAHEADER"});
}

TEST(InitializationFile, ModeAndBaudLinesRunScriptCommands) {
    IniFixture s;
    auto lines = s.read("MODE=\"ita2\"\nBAUD=\"B50\"\n");
    EXPECT_EQ(lines, std::vector<std::string>{"Mode set to ITA2"});
    EXPECT_EQ(s.state.MODE, kModeIta2);
    EXPECT_FLOAT_EQ(s.state.BAUD, 50.0f);
}

TEST(InitializationFile, WordListsAreRebuiltAndHoldFiveHundredWords) {
    IniFixture s;
    std::string file = "KOVABADWORD=\"bad\"\nKOVAMODERATEDWORD=\"mod\"\nKOVAAUTOMODERATEDWORD=\"auto\"\n";
    for (int i = 0; i < 502; ++i) file += "KOVAMODERATEDWORD=\"w" + std::to_string(i) + "\"\n";
    auto lines = s.read(file);
    EXPECT_EQ(s.state.moderatedWords.count(), 500);
    EXPECT_EQ(s.state.moderatedWords.words()->front(), "MOD");
    EXPECT_EQ(lines, std::vector<std::string>{
                         "INIT KOVAMODERATEDWORD - list full at 500 words, \"w499\" and later ones dropped"});
    EXPECT_EQ(*s.state.autoModeratedWords.words(), std::vector<std::string>{"AUTO"});

    RemoveFile("Tarvik.ini");
    s.station.ini.ReloadModeratedWords();
    EXPECT_EQ(s.state.moderatedWords.count(), 0);
    EXPECT_EQ(s.state.autoModeratedWords.count(), 0);
    EXPECT_EQ(*s.state.badWords.words(), std::vector<std::string>{"BAD"}) << "a reload keeps the bad words";
    auto tail = s.logMessages();
    EXPECT_EQ(tail[tail.size() - 2], "Reloading Moderated Words");
}
