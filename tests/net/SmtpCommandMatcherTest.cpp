// The command matcher on plain strings: prefixes in table order, letter case,
// brackets, the first word after the command, and the rest of the chunk
// lower-cased with it.

#include <gtest/gtest.h>

#include "net/SmtpCommandMatcher.h"

namespace {

struct MatchCase {
    std::string line;
    int code;
    std::string command;
    std::string argument;
};

}  // namespace

TEST(SmtpCommandMatcher, MatchesEachCommandByItsPrefix) {
    const MatchCase cases[] = {
        {"HELO client.example\r\n", 0, "helo", "client.example"},
        {"HeLo x\r\n", 0, "helo", "x"},
        {"EHLO [127.0.0.1]\r\n", 1, "ehlo", "[127.0.0.1]"},
        {"MAIL FROM:<Joe@Example.COM> SIZE=12\r\n", 5, "mail from:", "joe@example.com"},
        {"MAIL FROM :<x@y>\r\n", 19, "", ""},
        {"RCPT TO: <Kova@Station.Example>\r\n", 6, "rcpt to:", "kova@station.example"},
        {"DATA\r\n", 7, "data", ""},
        {"RSET\r\n", 8, "rset", ""},
        {"VRFY someone\r\n", 9, "vrfy", "someone"},
        {"NOOP\r\n", 12, "noop", ""},
        {"QUIT\r\n", 13, "quit", ""},
        {"X-AUTO-RCPT:<a@b>\r\n", 20, "x-auto-rcpt:", "a@b"},
        {"TURN\r\n", 15, "turn", ""},
        {"STARTTLS\r\n", 19, "", ""},
        {"\r\n", 19, "", ""},
        // The word may come from the next line: white space includes line ends.
        {"HELO\r\nMAIL FROM:<a@b>\r\n", 0, "helo", "mail"},
    };
    for (const MatchCase& c : cases) {
        std::string chunk = c.line, command = "old", argument = "old";
        EXPECT_EQ(MatchSmtpCommand(chunk, 0, command, argument), c.code) << c.line;
        EXPECT_EQ(command, c.command) << c.line;
        EXPECT_EQ(argument, c.argument) << c.line;
    }
}

TEST(SmtpCommandMatcher, LowerCasesFromTheLineToTheEndOfTheChunkOnly) {
    std::string chunk = "HELO A <x>\r\nRCPT TO:<B@C>\r\nQUIT\r\n";
    std::string command, argument;
    EXPECT_EQ(MatchSmtpCommand(chunk, 12, command, argument), 6);
    EXPECT_EQ(chunk, "HELO A <x>\r\nrcpt to: b@c \r\nquit\r\n");
    EXPECT_EQ(argument, "b@c");
}

TEST(SmtpCommandMatcher, CutsTheArgumentToItsField) {
    std::string chunk = "VRFY " + std::string(2000, 'a') + "\r\n";
    std::string command, argument;
    MatchSmtpCommand(chunk, 0, command, argument);
    EXPECT_EQ(argument.size(), kSmtpFieldLength);
}
