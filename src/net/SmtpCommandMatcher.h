#pragma once
// The SMTP command matcher: the station's fixed table of command prefixes,
// tried in order against the start of a line of the receive chunk. Pure:
// bytes in, a code with the command and its first word out.

#include <cstddef>
#include <string>

namespace SmtpCode {
constexpr int Helo = 0;
constexpr int Ehlo = 1;
constexpr int MailFrom = 5;
constexpr int RcptTo = 6;
constexpr int Data = 7;
constexpr int Rset = 8;
constexpr int Noop = 12;
constexpr int Quit = 13;
// A line that matches no entry.
constexpr int NoMatch = 19;
constexpr int AutoRcpt = 20;
}  // namespace SmtpCode

// Texts are cut to what the session's 1024-byte fields hold.
constexpr std::size_t kSmtpFieldLength = 1023;

// Lower-cases `chunk` from `lineStart` to its end, in place, with '<' and '>'
// turned into blanks, then matches the line at `lineStart`: `command` gets the
// entry's text and `argument` the first blank-delimited word after it (white
// space, line ends included, skipped first). No match: both empty, code 19.
int MatchSmtpCommand(std::string& chunk, std::size_t lineStart, std::string& command, std::string& argument);
