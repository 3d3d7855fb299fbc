#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "coding/PskStartReport.h"
#include "support/StationFixture.h"

TEST(ModeMenu, EachModeSetsItsFramingChecksItselfAndClosesThePskCard) {
    struct Case { int command; int mode; int bits; int stop; const char* log; };
    StationFixture s;
    for (const Case& c : {Case{Id::ModeAscii, 0, 8, 0, "Mode set to ASCII"},
                          Case{Id::ModeIta2, 1, 5, 1, "Mode set to ITA2"},
                          Case{Id::ModeTelex, 2, 5, 1, "Mode set to TELEX"},
                          Case{Id::ModeMilitary, 3, 5, 1, "Mode set to MILITARY"}}) {
        s.menus.ChooseMode(c.command);
        EXPECT_EQ(s.state.MODE, c.mode);
        EXPECT_EQ(s.state.DATABITS, c.bits);
        EXPECT_EQ(s.state.stopBits, c.stop);
        EXPECT_EQ(s.logMessages().back(), c.log);
        for (int id = Id::ModeFirst; id <= Id::ModeLast; ++id) EXPECT_EQ(s.window.menuItemChecked(id), id == c.command);
    }
    s.menus.ChooseMode(Id::ModeAscii);
    s.menus.ChooseMode(Id::ModeCw);
    EXPECT_EQ(s.state.MODE, kModeCw);
    EXPECT_EQ(s.state.DATABITS, 8) << "CW leaves the framing";
    EXPECT_EQ(s.logMessages().back(), "Mode set to MORSE CODE");
    EXPECT_EQ(s.psk.calls().size(), 6u);
    for (const std::string& call : s.psk.calls()) EXPECT_EQ(call, "Close");
}

TEST(ModeMenu, Psk31OpensTheCardInItsOrder) {
    StationFixture s;
    s.state.soundCardID = 2;
    s.state.pskFrequency = 1500.7f;
    s.menus.ChooseMode(Id::ModePsk31);
    EXPECT_EQ(s.psk.calls(), (std::vector<std::string>{"Close", "Open 2", "Frequency 1500"}));
    EXPECT_EQ(s.state.MODE, kModePsk31);
    EXPECT_TRUE(s.window.menuItemChecked(Id::ModePsk31));
    auto messages = s.logMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "No error in starting sound card process");
    EXPECT_EQ(messages[1], "Mode set to PSK31");
}

TEST(ModeMenu, Psk31WithoutACardAsksForOneAndChangesNothing) {
    StationFixture s;
    s.menus.ChooseMode(Id::ModePsk31);
    ASSERT_EQ(s.window.boxes().size(), 1u);
    EXPECT_EQ(s.window.boxes()[0].text, "Please Select a Sound Card");
    EXPECT_EQ(s.state.MODE, kModeMilitary);
    EXPECT_TRUE(s.psk.calls().empty());
}

TEST(ModeMenu, Psk31CardThatFailsReportsAndFallsBackToMilitary) {
    StationFixture s;
    s.state.soundCardID = 3;
    s.menus.ChooseMode(Id::ModeAscii);
    s.psk.openResult = 21;
    s.menus.ChooseMode(Id::ModePsk31);
    ASSERT_EQ(s.window.boxes().size(), 1u);
    EXPECT_EQ(s.window.boxes()[0].text, "( 21) Bad Device ID, Soundcard Not Present");
    EXPECT_EQ(s.window.boxes()[0].caption, "FATAL - Sound Card");
    EXPECT_EQ(s.window.boxes()[0].icon, MessageIcon::Error);
    EXPECT_EQ(s.state.MODE, kModeMilitary);
    EXPECT_EQ(s.state.DATABITS, 5);
    EXPECT_EQ(s.state.stopBits, 1);
    EXPECT_TRUE(s.window.menuItemChecked(Id::ModeMilitary));
    EXPECT_FALSE(s.window.menuItemChecked(Id::ModePsk31));
    EXPECT_EQ(s.logMessages().back(), "Mode set to MILITARY");
}

TEST(PskStartReport, TextsOfTheTableAndTheUndefinedOnes) {
    EXPECT_EQ(PskStartErrorText(10), "Tried to read and soundcard is not open");
    EXPECT_EQ(PskStartErrorText(17), "Card doesn't support 16bit, 8000Hz, Mono format");
    EXPECT_EQ(PskStartErrorText(41), "Can't open wave file for output");
    for (int code : {1, 9, 11, 42, -5}) EXPECT_EQ(PskStartErrorText(code), "Really Bad Undefined Error") << code;

    StationFixture s;
    ReportPskStart(7, s.log, s.window);
    EXPECT_EQ(s.window.boxes().back().text, "(  7) Really Bad Undefined Error");
    ReportPskStart(133, s.log, s.window);
    EXPECT_EQ(s.window.boxes().back().text, "(133) Really Bad Undefined Error");
}

TEST(BaudMenu, EachSpeedIsSetAndChecked) {
    StationFixture s;
    s.menus.ChooseBaud(32879);
    EXPECT_FLOAT_EQ(s.state.BAUD, 56000.0f);
    s.menus.ChooseBaud(32865);
    EXPECT_FLOAT_EQ(s.state.BAUD, 45.45f);
    EXPECT_TRUE(s.window.menuItemChecked(32865));
    EXPECT_FALSE(s.window.menuItemChecked(32879));
}
