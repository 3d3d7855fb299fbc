#include "transmit/MacroExpander.h"

#include <string>

#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "coding/CodeTable.h"
#include "coding/OutputRouter.h"
#include "transmit/MacroTexts.h"

namespace {
constexpr int kCaret = '^';
constexpr int kBell = 7;
constexpr int kNul = 0;
// The bell in MILITARY (an apostrophe in ITA2 and TELEX).
constexpr int kCodeBell = 5;
}  // namespace

bool MacroExpander::IsFiveBitMode(int mode) { return mode != kModeAscii && mode != kModePsk31; }

void MacroExpander::ForgetCaret() { state_.macroPending = 0; }

int MacroExpander::ExpandMacro(int c, int mode) {
    if (c == kCaret) {
        state_.macroPending = 1;
        return kCaret;
    }
    // Taking the flag and clearing it is one step, so two callers never
    // both see the same caret.
    if (state_.macroPending.exchange(0) == 0) return c;

    const bool fiveBit = IsFiveBitMode(mode);
    if (c == '0') {
        // One blank, or one NUL in ASCII and PSK31.
        router_.SendCode(fiveBit ? kCodeBlank : kNul);
        return kCaret;
    }
    if (c >= '1' && c <= '9') {
        int bells = c - '0';
        if (fiveBit) {
            router_.SendCode(kCodeFigs);
            for (int i = 0; i < bells; ++i) router_.SendCode(kCodeBell);
            router_.SendCode(kCodeLtrs);
        } else {
            for (int i = 0; i < bells; ++i) router_.SendCode(kBell);
        }
        return kCaret;
    }
    std::string text;
    if (!MacroText(c, clock_, text)) return c;
    sendText(text.c_str(), mode);
    return kCaret;
}

void MacroExpander::sendText(const char* text, int mode) {
    for (const char* t = text; *t != '\0'; ++t) {
        if (IsFiveBitMode(mode))
            encoder_.EncodeChar(*t, mode);
        else
            router_.SendCode(*t & 127);
    }
}
