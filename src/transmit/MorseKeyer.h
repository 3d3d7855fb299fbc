#pragma once
// Morse on the serial transmit line, timed in morseTick events of the fast
// timer, which the caller starts and stops: a dot keys for 10 ticks, a dash
// for 20, each element is followed by 14 ticks and each character by the
// caller's gap. Runs on the thread of its caller.

#include <string_view>

class SerialLine;
class Waits;

class MorseKeyer {
public:
    static constexpr int kDotTicks = 10;
    static constexpr int kDashTicks = 20;
    static constexpr int kElementGapTicks = 14;
    static constexpr int kWordSpaceTicks = 6;
    static constexpr int kIdentificationGap = 13;
    static constexpr int kTextGap = 10;
    // The line rests this long before and after a text keyed in Morse.
    static constexpr int kLeadTicks = 50;

    MorseKeyer(Waits& waits, SerialLine& line) : waits_(waits), line_(line) {}

    void SendMorseChar(int character, int characterGap);

    // The pattern of a character: '1' dot, '2' dash, "3" a word space.
    static std::string_view PatternFor(int character);

private:
    Waits& waits_;
    SerialLine& line_;
};
