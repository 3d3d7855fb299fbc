#include <gtest/gtest.h>

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "app/CommandIds.h"
#include "support/ModemLineRecorder.h"
#include "support/PseudoTerminal.h"
#include "support/StationFixture.h"

namespace {

termios2 settingsOf(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios2 tio{};
    ::ioctl(fd, TCGETS2, &tio);
    ::close(fd);
    return tio;
}

// A port on COM1 whose device is a pseudo-terminal.
struct PtyStation : StationFixture {
    explicit PtyStation(SerialDriver* driver = nullptr) : StationFixture(driver) {
        ::setenv("TARVIK_COM1", pty.slavePath().c_str(), 1);
        ::setenv("TARVIK_COM2", pty2.slavePath().c_str(), 1);
    }
    ~PtyStation() {
        line.CloseCommPort();
        ::unsetenv("TARVIK_COM1");
        ::unsetenv("TARVIK_COM2");
    }
    // Past the "NULL" that keeps a fresh station from opening anything.
    void openCom(int command) {
        menus.ChooseComPort(Id::ComDisabled);
        menus.ChooseComPort(command);
    }
    PseudoTerminal pty;
    PseudoTerminal pty2;
};

}  // namespace

TEST(LineSettings, ComputedFromTheStationValues) {
    struct Case { float baud; int bits; int stop; unsigned speed; bool cstopb; };
    for (Case c : {Case{45.45f, 5, 1, 45, true}, Case{56.9f, 5, 1, 56, true}, Case{74.4f, 5, 1, 74, true},
                   Case{50.0f, 8, 0, 50, false}, Case{9600.0f, 8, 0, 9600, false}}) {
        LineSettings settings = ComputeLineSettings(c.baud, 0, c.bits, c.stop);
        EXPECT_EQ(settings.speed, c.speed) << c.baud;
        EXPECT_EQ(settings.dataBits, c.bits);
        EXPECT_EQ(settings.twoStopBits, c.cstopb);

        termios2 tio{};
        tio.c_oflag = OPOST | ONLCR;
        tio.c_iflag = ICRNL | IXON;
        tio.c_cflag = CS8 | CRTSCTS;
        TermiosSerialDriver::Apply(settings, tio);
        EXPECT_EQ(tio.c_cflag & CSIZE, c.bits == 5 ? static_cast<tcflag_t>(CS5) : static_cast<tcflag_t>(CS8));
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.cstopb);
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u) << "no hardware flow control";
        EXPECT_EQ(tio.c_oflag & OPOST, 0u) << "raw output";
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u) << "no XON/XOFF";
        EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
        EXPECT_EQ(tio.c_ospeed, c.speed);
    }
}

TEST(SerialPortNames, MapToDevicesThroughTheEnvironment) {
    ::unsetenv("TARVIK_COM3");
    EXPECT_EQ(DevicePathForPort("COM3"), "/dev/ttyS2");
    ::setenv("TARVIK_COM3", "/dev/ttyUSB0", 1);
    EXPECT_EQ(DevicePathForPort("COM3"), "/dev/ttyUSB0");
    ::unsetenv("TARVIK_COM3");
    EXPECT_EQ(DevicePathForPort("COM1"), "/dev/ttyS0");
    EXPECT_EQ(DevicePathForPort("COM9"), "COM9");
}

TEST(SerialLine, NullPortOpensNothingUntilDisabledWasChosen) {
    PtyStation s;
    s.menus.ChooseBaud(32867);
    s.menus.ChooseMode(Id::ModeAscii);
    s.menus.ChooseComPort(Id::Com1);
    EXPECT_EQ(s.state.commHandle, kNoPortHandle);
    EXPECT_FLOAT_EQ(s.state.BAUD, 56.9f);
    EXPECT_EQ(s.state.DATABITS, 8);
    EXPECT_TRUE(s.window.menuItemChecked(32867));
    EXPECT_TRUE(s.window.menuItemChecked(Id::Com1));

    s.menus.ChooseComPort(Id::ComDisabled);
    EXPECT_EQ(s.state.m_CommPort, "Disabled");
    s.menus.ChooseComPort(Id::Com1);
    EXPECT_NE(s.state.commHandle, kNoPortHandle);
    EXPECT_EQ(s.state.commOpen, 1);
    EXPECT_EQ(s.state.m_CommPort, "COM1");
}

TEST(SerialLine, OpensAt45BaudWithOneAndAHalfStopBitsAndLogsThePortLine) {
    PtyStation s;
    s.state.TxLine = Id::TxLineDtrXmit;
    s.openCom(Id::Com1);
    EXPECT_EQ(s.logMessages().back(), "\"COM1\" BAUD=45.5 Bits=5 Parity=0 Stopbits=1 DTR=xmit DTR=cwid");
    termios2 tio = settingsOf(s.pty.slavePath());
    EXPECT_EQ(tio.c_ospeed, 45u);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    for (int id = Id::BaudFirst; id <= Id::BaudLast; ++id) EXPECT_TRUE(s.window.menuItemEnabled(id));
}

TEST(SerialLine, CodesArriveInOrderAndUnaltered) {
    PtyStation s;
    s.openCom(Id::Com1);
    std::string sent;
    for (int code : {10, 13, 2, 8, 31, 27, 0, 0x41, 0x1FF}) {
        s.router.SendCode(code);
        sent.push_back(static_cast<char>(code & 0xFF));
    }
    EXPECT_EQ(s.pty.readAvailable(), sent) << "raw mode: a 10 must not become 13 10";
}

TEST(SerialLine, ChoosingAsciiReopensWithEightBitsAndOneStopBit) {
    PtyStation s;
    s.openCom(Id::Com1 + 1);
    s.menus.ChooseMode(Id::ModeAscii);
    auto messages = s.logMessages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[messages.size() - 3], "Comm Port \"COM2\" closed");
    EXPECT_EQ(messages[messages.size() - 2], "\"COM2\" BAUD=45.5 Bits=8 Parity=0 Stopbits=0 Not set");
    EXPECT_EQ(messages.back(), "Mode set to ASCII");
    EXPECT_EQ(settingsOf(s.pty2.slavePath()).c_cflag & CSTOPB, 0u);
}

TEST(SerialLine, CwAndPsk31LeaveThePortAsItWas) {
    PtyStation s;
    s.state.soundCardID = 0;
    s.openCom(Id::Com1);
    int handle = s.state.commHandle;
    s.menus.ChooseMode(Id::ModeCw);
    s.menus.ChooseMode(Id::ModePsk31);
    EXPECT_EQ(s.state.commHandle, handle);
    EXPECT_EQ(s.state.DATABITS, 5);
    EXPECT_EQ(s.state.stopBits, 1);
    EXPECT_EQ(s.logMessages().back(), "Mode set to PSK31");
}

TEST(SerialLine, ABusyPortIsFatalWithItsBox) {
    PtyStation s;
    TermiosSerialDriver other;
    int holder = other.openExclusive(s.pty.slavePath());
    ASSERT_GE(holder, 0);
    s.openCom(Id::Com1);
    ASSERT_EQ(s.fatalExits, std::vector<int>{-1});
    auto box = s.window.boxes().back();
    EXPECT_EQ(box.caption, "Tarvik Comm Port Critical Error");
    EXPECT_EQ(box.text, "Could not open comm port [ COM1 ],\nthis is a fatal error. Port does \nnot exist or is already "
                        "occupied.\n\nPlease check system for available ports.\n\nExiting on your OK");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    other.close(holder);
}

TEST(SerialLineDeathTest, AMissingDeviceEndsTheProgramWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StationFixture s;
            SerialLine fatal(s.state, s.termios, s.log, s.window, [](int code) { std::exit(code); });
            ::setenv("TARVIK_COM4", "/dev/no-such-port", 1);
            s.state.m_CommPort = "Disabled";
            fatal.OpenCommPort("COM4", 45.45f, 0, 5, 1);
        },
        ::testing::ExitedWithCode(255), "");
}

TEST(SerialLine, ProbeGraysPortsThatCannotBeHad) {
    PtyStation s;
    ::setenv("TARVIK_COM3", "/dev/no-such-port", 1);
    s.line.ProbeCommPorts();
    EXPECT_EQ(s.state.commPortAvailable[1], 1);
    EXPECT_EQ(s.state.commPortAvailable[3], 0);
    EXPECT_TRUE(s.window.menuItemEnabled(Id::Com1));
    EXPECT_FALSE(s.window.menuItemEnabled(Id::Com1 + 2));
    ::unsetenv("TARVIK_COM3");
}

TEST(SerialLine, ReopenAfterCloseWorksOnAPseudoTerminal) {
    PtyStation s;
    s.openCom(Id::Com1);
    s.menus.ChooseBaud(32866);
    s.menus.ChooseBaud(32865);
    EXPECT_NE(s.state.commHandle, kNoPortHandle);
    EXPECT_TRUE(s.fatalExits.empty());
}

TEST(SerialLine, KeysTheLineThatTxLineNames) {
    ModemLineRecorder lines;
    PtyStation s(&lines);
    s.openCom(Id::Com1);
    EXPECT_EQ(lines.takeEvents(), (std::vector<std::string>{"DTR-", "RTS-"})) << "every open drops DTR, then RTS";

    struct Case { int txLine; std::vector<std::string> keyed; };
    for (const Case& c : {Case{Id::TxLineDisabled, {}}, Case{Id::TxLineRts, {"RTS+", "RTS-"}},
                          Case{Id::TxLineDtr, {"DTR+", "DTR-"}}, Case{Id::TxLineRtsXmit, {"RTS+", "RTS-"}},
                          Case{Id::TxLineDtrXmit, {"DTR+", "DTR-"}}}) {
        s.menus.ChooseTxLine(c.txLine);
        s.line.KeyTransmitLine(true);
        s.line.KeyTransmitLine(false);
        EXPECT_EQ(lines.takeEvents(), c.keyed) << c.txLine;
    }
    EXPECT_EQ(s.logMessages().back(), "Setting RS-232 control to ID_RS232CONTROL_DTRXMIT");

    s.menus.ChooseDovetronSource(Id::DovetronTeletype);
    s.menus.ChooseDovetronSource(Id::DovetronComputer);
    EXPECT_EQ(lines.takeEvents(), (std::vector<std::string>{"DTR+", "DTR-"}));
    EXPECT_TRUE(s.window.menuItemChecked(Id::DovetronComputer));
    EXPECT_FALSE(s.window.menuItemChecked(Id::DovetronTeletype));

    s.menus.ChooseComPort(Id::ComDisabled);
    EXPECT_EQ(lines.takeEvents(), (std::vector<std::string>{"DTR-", "RTS-"}));
    EXPECT_EQ(s.logMessages().back(), "Comm Port \"COM1\" closed");
    s.line.KeyTransmitLine(true);
    EXPECT_TRUE(lines.takeEvents().empty()) << "no port, no keying";
    EXPECT_FALSE(s.window.menuItemEnabled(Id::TxLineRts));
}

// Mend: the port lock was held through the fatal box, whose message loop ran
// a SendCode on the same thread, which then waited on that lock for ever.
TEST(SerialLine, ACodeSentWhileTheFatalBoxIsShownDoesNotWaitOnThePort) {
    PtyStation s;
    s.openCom(Id::Com1 + 1);
    TermiosSerialDriver other;
    int holder = other.openExclusive(s.pty.slavePath());
    ASSERT_GE(holder, 0);
    bool sentDuringBox = false;
    s.window.setWhileBoxShown([&] {
        s.router.SendCode(5);
        sentDuringBox = true;
    });
    s.menus.ChooseComPort(Id::Com1);
    EXPECT_TRUE(sentDuringBox);
    EXPECT_EQ(s.fatalExits, std::vector<int>{-1});
    EXPECT_EQ(s.logMessages().back(), "Comm Port \"COM2\" closed");
    other.close(holder);
}
