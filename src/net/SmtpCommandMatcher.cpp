#include "net/SmtpCommandMatcher.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

struct SmtpCommandEntry {
    std::string_view text;
    int code;
};

// Code 19 is kept for a line that matches nothing.
constexpr SmtpCommandEntry kSmtpCommandTable[] = {
    {"helo", 0},  {"ehlo", 1},  {"verb", 2},  {"onex", 3},        {"mult", 4},
    {"mail from:", 5}, {"rcpt to:", 6}, {"data", 7}, {"rset", 8}, {"vrfy", 9},
    {"expn", 10}, {"help", 11}, {"noop", 12}, {"quit", 13},       {"tick", 14},
    {"turn", 15}, {"send", 16}, {"saml", 17}, {"soml", 18},       {"x-auto-rcpt:", 20},
};

bool isWhite(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

void prepare(std::string& chunk, std::size_t from) {
    for (std::size_t i = from; i < chunk.size(); ++i) {
        char& c = chunk[i];
        if (c == '<' || c == '>') c = ' ';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

std::string firstWord(std::string_view rest) {
    std::size_t start = 0;
    while (start < rest.size() && isWhite(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !isWhite(rest[end])) ++end;
    return std::string(rest.substr(start, std::min(end - start, kSmtpFieldLength)));
}

}  // namespace

int MatchSmtpCommand(std::string& chunk, std::size_t lineStart, std::string& command, std::string& argument) {
    prepare(chunk, lineStart);
    std::string_view line = std::string_view(chunk).substr(std::min(lineStart, chunk.size()));
    for (const SmtpCommandEntry& entry : kSmtpCommandTable) {
        if (line.substr(0, entry.text.size()) != entry.text) continue;
        command = std::string(entry.text);
        argument = firstWord(line.substr(entry.text.size()));
        return entry.code;
    }
    command.clear();
    argument.clear();
    return SmtpCode::NoMatch;
}
