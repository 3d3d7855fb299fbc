#pragma once
// The line rules that turn a received message into the station's message
// file: of the header only From, To, Subject and Date stay (rewritten for the
// air), the body is wrapped to the line limit, and the teletype end mark NNNN
// closes it. Pure: text in, text out, with line feeds for line ends (the file
// is written as text, so each becomes CR LF on disk).

#include <optional>
#include <string>
#include <string_view>

struct ComposedMessage {
    std::string text;
    // The text after "Subject: ", when the message had a Subject line.
    std::optional<std::string> subject;
};

// `received`: the message as read back as text. `lineLimit`: KOVAAutoLine72
// (0 leaves the body unwrapped).
ComposedMessage ComposeMessageFile(std::string_view received, int lineLimit);

// One header line as the file keeps it; nothing for a line that is dropped.
std::optional<std::string> RewriteHeaderLine(std::string_view line);
// The subject text of a "Subject:" line: from the second character after its
// first colon to the line end, at most 256 characters.
std::string SubjectText(std::string_view line);
// One body line broken into pieces of at most `limit` characters: before a
// blank at position 46 or later where there is one, else hard after 45.
std::string WrapBodyLine(std::string_view line, int limit);
