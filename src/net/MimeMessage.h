#pragma once
// What a person wrote, from a message as today's mail clients send it: the
// header lines with their encoded words (RFC 2047) decoded, and as the body
// the first text/plain part (else the first text/html part as plain text),
// its transfer encoding undone, format=flowed joined, in Latin-1 from its
// charset. Attachments are not aired; their names are given back for the
// log. A message without MIME headers stays as it came, but for UTF-8 text
// in Latin-1 (a Latin-1 sender's bytes are kept as they are). The result
// has the form the message file's line rules read: header lines, an empty
// line, the body, line feeds for line ends. Thread-safe.

#include <string>
#include <string_view>
#include <vector>

struct MailText {
    std::string text;
    // "report.pdf (application/pdf)", one for each part not aired.
    std::vector<std::string> dropped;
};

MailText ReadMailText(std::string_view received);
