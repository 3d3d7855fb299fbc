#pragma once
// The encoder and its macro filter on the real router, for coding and macro
// tests. The station is in PSK31 mode, so SendCode hands every code to the
// recording PSK31 library, whose queue the pump drains: the recorder then
// holds exactly the codes in the order they were sent. The encoder takes its
// line mode as an argument, so the codes are those of whichever mode a test
// asks for. The line starts in letters shift with lastCode 0.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "coding/CharacterEncoder.h"
#include "support/StationFixture.h"
#include "transmit/MacroExpander.h"

constexpr int F = 27;   // FIGS
constexpr int L = 31;   // LTRS
constexpr int CR = 8;
constexpr int LF = 2;
constexpr int SP = 4;

struct CodingFixture {
    CodingFixture();

    // The codes sent since the previous call of any of these.
    std::vector<int> newCodes();
    // Each character through EncodeChar in `mode`; the codes it sent.
    std::vector<int> encode(std::string_view text, int mode = kModeMilitary);
    // As the file transmitter sends ASCII and PSK31: ExpandMacro, then the
    // result's low seven bits through SendCode.
    std::vector<int> sendSevenBit(std::string_view text, int mode = kModeAscii);
    // The log lines written since the previous call.
    std::vector<std::string> newLogMessages();
    void writeFile(const std::string& name, const std::string& bytes);

    StationFixture s;
    MacroExpander macros{s.state, s.router, s.clock, encoder};
    CharacterEncoder encoder{s.state, s.log, s.router, macros};

private:
    std::size_t codesSeen_ = 0;
    std::size_t logSeen_ = 0;
};

// Reads back 5-bit codes as a teleprinter of the mode would print them, with
// the standard letters and figures of ITA2 or US TTY (MILITARY); TELEX uses
// ITA2 with its own national positions. CR, LF, blanks and shifts print
// nothing; BEL prints as '\a'; a figure the mode has none for prints '~'.
std::string DecodeCodes(const std::vector<int>& codes, int mode);
// The same for the bytes a serial line carried (the `air` of the fixtures).
std::string PrintedAir(const std::string& air, int mode = kModeMilitary);
// The air without the letters shifts that idle it before and after a transmission.
std::string WithoutIdleRuns(const std::string& air);

// TZ set for the life of the object and restored after, with tzset() each way.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone);
    ~ZoneGuard();
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

private:
    bool hadZone_;
    std::string previous_;
};
