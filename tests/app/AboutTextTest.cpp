#include <gtest/gtest.h>

#include "app/AboutText.h"
#include "app/CommandIds.h"
#include "app/ProgramState.h"

TEST(AboutText, ShowsTheStationsSettingsLineByLine) {
    ProgramState state;
    state.spacedCallSign = "N 0 C A L L ";
    state.m_CommPort = "COM1";
    state.MODE = kModeAscii;
    state.DATABITS = 8;
    state.TxLine = Id::TxLineRts;
    auto lines = AboutStatusLines(state);
    ASSERT_EQ(lines.size(), 18u + 36u + 12u);
    EXPECT_EQ(lines[0], " This application was written for the");
    EXPECT_EQ(lines[1], "N 0 C A L L  RTTY broadcast transmitter.");
    EXPECT_EQ(lines[3], "Comport is set to COM1");
    EXPECT_EQ(lines[4], "Baud Rate is set to 45.450001.");
    EXPECT_EQ(lines[5], "Data Bits is set to 8 BITS.");
    EXPECT_EQ(lines[6], "Mode is set to ASCII.");
    EXPECT_EQ(lines[7], "Using RTS line for transmit control");
    EXPECT_EQ(lines[17], "--------- Scripted Commands  --------------");
    EXPECT_EQ(lines[18], "$-- --------------------------------------");
    EXPECT_EQ(lines[18 + 35], "$F1900    // PSK Freq = 1900");
    EXPECT_EQ(lines.back(), "-------------------------------------------");
}

TEST(AboutText, KeyingAndModeLinesFollowTheState) {
    ProgramState state;
    auto lines = AboutStatusLines(state);
    EXPECT_EQ(lines[5], "Data Bits is set to 5 Bits.");
    EXPECT_EQ(lines[6], "Mode is set to Military.");
    EXPECT_EQ(lines[7], "RTS and DTR not being used for anything");
    state.TxLine = Id::TxLineDtr;
    EXPECT_EQ(AboutStatusLines(state).size(), lines.size() - 1) << "DTR Xmit has no line";
    state.MODE = kModePsk31;
    EXPECT_EQ(AboutStatusLines(state)[6], "Mode is set to PSK31.");
    state.MODE = kModeCw;
    EXPECT_EQ(AboutStatusLines(state)[6], "Mode is set to CW.");
}
