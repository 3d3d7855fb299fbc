#pragma once
// The message bytes of an SMTP DATA transfer, taken from the received chunks
// as they come: the end mark CR LF "." CR LF is found wherever the receives
// split it, and also as the very first line (an empty message); a line that
// the client dot-stuffed ("..") gets its one dot back. The CR LF in front of
// the end mark belongs to the mark. Pure: bytes in, bytes out; counts bytes,
// so NUL bytes are data like any other.

#include <string>
#include <string_view>

class SmtpDataDecoder {
public:
    // Appends the message bytes of `received` to `out`; true once the end
    // mark has been seen, after which the rest of `received` is dropped.
    bool feed(std::string_view received, std::string& out);
    bool ended() const { return ended_; }

private:
    // Text: inside a line. Cr: after a CR. LineStart: a line begins (CR LF
    // held back, or nothing at the very start). Dot, DotCr: "." or ".\r" at
    // the start of a line, held back with the line end before it.
    enum class State { Text, Cr, LineStart, Dot, DotCr };
    void step(char byte, std::string& out);
    void releaseHeld(std::string& out);

    State state_ = State::LineStart;
    bool lineEndHeld_ = false;
    bool ended_ = false;
};
