#pragma once
// The caret macro filter that every character passes before it goes on the
// air: '^' followed by a digit or by D, L, T, U, W (either case) is replaced
// by bells, a blank, or a date or time text. In the 5-bit modes the texts go
// through the character encoder, in ASCII and PSK31 straight to the router
// as 7-bit codes. The only state, macroPending, lives in the program state:
// shared by every caller on every thread, it survives between texts.
// Runs on the thread of its caller (window or session thread). The encoder
// it sends the 5-bit texts through is the one it filters for.

#include "coding/MacroFilter.h"

class CharacterEncoder;
class Clock;
class OutputRouter;
struct ProgramState;

class MacroExpander : public MacroFilter {
public:
    MacroExpander(ProgramState& state, OutputRouter& router, const Clock& clock, CharacterEncoder& encoder)
        : state_(state), router_(router), clock_(clock), encoder_(encoder) {}

    // The character the caller is to code: `c` itself, or '^' when the
    // filter took it (a caret, or a macro letter whose output it has sent).
    int ExpandMacro(int c, int mode) override;
    void ForgetCaret() override;

    static bool IsFiveBitMode(int mode);

private:
    void sendText(const char* text, int mode);

    ProgramState& state_;
    OutputRouter& router_;
    const Clock& clock_;
    CharacterEncoder& encoder_;
};
