#include "coding/CharacterEncoder.h"

#include <cstdint>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CodeTable.h"
#include "coding/IntCharDict.h"
#include "coding/MacroFilter.h"
#include "coding/OutputRouter.h"

namespace {
// Characters from here up have no row: 'a'..'z' and 123..127 fold down by 32.
constexpr int kFoldFrom = 97;
constexpr int kFoldBy = 32;
// What remains at 96 or above after folding: the grave accent.
constexpr int kGraveAccent = 96;
// The budget once a replacement text had more characters than it allowed.
constexpr int kCut = -1;
}  // namespace

void CharacterEncoder::EncodeChar(int character, int mode) {
    int budget = kMaxSubstitutedCharacters;
    encode(character, mode, 0, budget);
    if (budget != kCut) return;
    log_.writef("Replacement texts for character %c cut after %d characters", static_cast<char>(character),
                kMaxSubstitutedCharacters);
    // A caret the cut came after must not take the caller's next character as its letter.
    macros_.ForgetCaret();
}

void CharacterEncoder::encode(int character, int mode, int depth, int& budget) {
    // The character as the signed 8-bit value the callers pass.
    int ch = static_cast<int8_t>(static_cast<uint8_t>(character));
    int c = macros_.ExpandMacro(ch, mode);

    int index = c;
    if (index >= kFoldFrom) index -= kFoldBy;
    if (index < 0) {
        substitute(c, index + 256, mode, depth, budget);
        index = 0;
    } else if (index >= kGraveAccent) {
        log_.writef("Received extended ascii character %c (index=%i).  Skipping", c, index);
        index = 0;
    }
    const CodeTableEntry& entry = codeTable[index];
    sendByRule(entry, CodeFor(entry, mode));
}

void CharacterEncoder::substitute(int c, int index, int mode, int depth, int& budget) {
    std::string text;
    if (depth < kMaxSubstitutionDepth && LookupIntChar(index, text)) {
        log_.writef("Received extended ascii character %c (index=%i).  Changed to %s", c, index, text.c_str());
        for (char r : text) {
            if (budget == kCut) return;
            if (budget == 0) {
                budget = kCut;
                return;
            }
            --budget;
            encode(r, mode, depth + 1, budget);
        }
    } else {
        log_.writef("Received extended ascii character %c (index=%i).  Skipping", c, index);
    }
}

void CharacterEncoder::sendByRule(const CodeTableEntry& entry, int code) {
    switch (code) {
    case kNoCode:
        if (state_.shiftState == kCodeFigs) router_.SendCode(kCodeLtrs);
        state_.shiftState = kCodeLtrs;
        return;
    case kCodeLineFeed:
        if (state_.lastCode != kCodeCarriageReturn) {
            router_.SendCode(kCodeCarriageReturn);
            router_.SendCode(kCodeCarriageReturn);
        }
        router_.SendCode(kCodeLineFeed);
        router_.SendCode(kCodeLtrs);
        state_.lastCode = kCodeLineFeed;
        state_.shiftState = kCodeLtrs;
        return;
    case kCodeSpace:
    case kCodeLtrs: {
        const bool wasFigs = state_.shiftState == kCodeFigs;
        router_.SendCode(code);
        if (wasFigs) router_.SendCode(kCodeLtrs);
        state_.lastCode = static_cast<uint8_t>(code);
        state_.shiftState = kCodeLtrs;
        return;
    }
    case kCodeCarriageReturn:
        if (state_.lastCode != kCodeCarriageReturn) {
            router_.SendCode(kCodeCarriageReturn);
            router_.SendCode(kCodeCarriageReturn);
        }
        state_.lastCode = kCodeCarriageReturn;
        return;
    case kCodeFigs:
        router_.SendCode(kCodeFigs);
        state_.lastCode = kCodeFigs;
        state_.shiftState = kCodeFigs;
        return;
    default:
        // Index 0 lands here with shift 0 and code 0: one blank when the
        // shift is already 0, else two, and the next letter or figure is
        // preceded by its shift.
        if (entry.shift == state_.shiftState) {
            router_.SendCode(code);
        } else {
            router_.SendCode(entry.shift);
            router_.SendCode(code);
            state_.shiftState = static_cast<uint8_t>(entry.shift);
        }
        state_.lastCode = static_cast<uint8_t>(code);
        return;
    }
}

bool CharacterEncoder::LoadIntCharDict(const std::string& path) {
    std::shared_ptr<const IntCharDict> loaded = IntCharDict::FromFile(path);
    if (!loaded) return false;
    state_.intCharDict.set(std::move(loaded));
    return true;
}

bool CharacterEncoder::LookupIntChar(int key, std::string& text) const {
    std::shared_ptr<const IntCharDict> dict = state_.intCharDict.get();
    return dict != nullptr && dict->lookup(key, text);
}
