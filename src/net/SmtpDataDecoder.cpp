#include "net/SmtpDataDecoder.h"

bool SmtpDataDecoder::feed(std::string_view received, std::string& out) {
    for (std::size_t i = 0; i < received.size() && !ended_; ++i) step(received[i], out);
    return ended_;
}

void SmtpDataDecoder::releaseHeld(std::string& out) {
    if (lineEndHeld_) out += "\r\n";
    lineEndHeld_ = false;
}

void SmtpDataDecoder::step(char byte, std::string& out) {
    switch (state_) {
    case State::Text:
        if (byte == '\r') state_ = State::Cr;
        else out.push_back(byte);
        return;
    case State::Cr:
        if (byte == '\n') {
            lineEndHeld_ = true;
            state_ = State::LineStart;
        } else if (byte == '\r') {
            out.push_back('\r');
        } else {
            out.push_back('\r');
            out.push_back(byte);
            state_ = State::Text;
        }
        return;
    case State::LineStart:
        if (byte == '.') {
            state_ = State::Dot;
            return;
        }
        releaseHeld(out);
        state_ = State::Text;
        step(byte, out);
        return;
    case State::Dot:
        if (byte == '\r') {
            state_ = State::DotCr;
            return;
        }
        // ".." is a stuffed dot; any other line keeps the dot it begins with.
        releaseHeld(out);
        out.push_back('.');
        state_ = State::Text;
        if (byte != '.') step(byte, out);
        return;
    case State::DotCr:
        if (byte == '\n') {
            ended_ = true;
            return;
        }
        releaseHeld(out);
        out.push_back('.');
        state_ = State::Cr;
        step(byte, out);
        return;
    }
}
