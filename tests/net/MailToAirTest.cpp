// A message from a mail client to the air: delivered by smtplib, stored and
// queued, then sent by the unattended cycle, framed with the header and the
// footer, as teletype codes on the serial pseudo-terminal, with every step in
// the log in its order.

#include <gtest/gtest.h>

#include <fstream>

#include "support/CodingFixture.h"
#include "support/NetFixture.h"

using namespace std::chrono_literals;

namespace {

constexpr char kLtrs = 31;


const char* kDelivery = R"(import smtplib
s = smtplib.SMTP('127.0.0.1', PORT, local_hostname='tester', timeout=30)
s.sendmail('joe@example.com', ['kova@station.example'],
           'From: Joe\nTo: Night_Desk!desk@kova.example\nSubject: Air Test\n\nHELLO AIR\n')
s.quit()
print('sent')
)";

}  // namespace

TEST(MailToAir, AMailedMessageGoesOutFramedOnTheLine) {
    const std::string header = "ZCZC 1\r\n", footer = "\r\n";
    const std::string stored = "From: Joe\r\nTo: Night Desk\r\nSubject: Air Test\r\n\r\r\nHELLO AIR\r\r\nNNNN\r\r\n";
    std::string expected;
    {
        CodingFixture coding;
        std::vector<int> codes = coding.encode(header + stored + footer, kModeMilitary);
        expected.assign(codes.begin(), codes.end());
    }
    NetFixture s;
    s.state.TxLine = Id::TxLineRts;
    s.state.headerEnable = 1;
    s.state.shiftState = kLtrs;
    s.openPort();
    WriteBinaryFile("data/header.txt", header);
    WriteBinaryFile("data/footer.txt", footer);
    s.startServices();

    std::string program = kDelivery;
    program.replace(program.find("PORT"), 4, std::to_string(s.smtpPort1));
    EXPECT_EQ(s.whilePumping([&] { return RunPython(program).output; }), "sent\n");
    EXPECT_EQ(ReadBinaryFile("data/Air_Test.txt"), stored);
    s.station.session.CmEnable();
    ASSERT_TRUE(s.waitLogged("Completed sending <Air_Test.txt>.", 60s));
    ASSERT_TRUE(s.time.runUntil([&] { return s.logged("CmRX : Transmitter OFF"); }, 30s));

    EXPECT_EQ(WithoutIdleRuns(s.air), WithoutIdleRuns(expected));
    EXPECT_EQ(s.driver.takeEvents(), (std::vector<std::string>{"RTS+", "RTS-"}));
    const std::vector<std::string> steps = {
        "MTServerThread1 : SMTP E-Mail Connect from [127.000.000.001]",
        "SMTP E-Mail Received from [ehlo tester]",
        "mail from: joe@example.com ",
        "RCPT TO:<kova@station.example>",
        "354 Send Data",
        "StoreDataMessage : \"data\\Air_Test.txt\" submitted to queue",
        "250 message succesfully stored as \"Air_Test.txt\"",
        "221 goodby, have a nice day",
        "Ending connection",
        "File <Air_Test.txt> in TRANSMIT Queue.",
        "CmTX : Transmitter ON",
        "TXFile : Sending file <header.txt>.",
        "TXFile : Sending file <Air_Test.txt>.",
        "TXFile : Sending file <footer.txt>.",
        "Completed sending <Air_Test.txt>.",
    };
    std::vector<std::string> log = s.logMessages();
    auto at = log.begin();
    for (const std::string& step : steps) {
        at = std::find(at, log.end(), step);
        ASSERT_NE(at, log.end()) << "missing or out of order: " << step << "\n" << ::testing::PrintToString(log);
    }
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "Air_Test.txt\r\n");
}
