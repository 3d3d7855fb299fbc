#pragma once
// The teletype encoder: turns one text character at a time into the 5-bit
// codes of the ITA2, TELEX or MILITARY column, with the letters/figures
// shifts it needs, the line-end rules, and the characters 128..255 replaced
// through the character dictionary. Every code goes, in order, to the
// router's SendCode. Each character, replacement texts' too, passes the
// caret macro filter it is given first, which may call back into it for the
// texts of the macros.
//
// Runs on the window thread and on session threads at once. Its state is in
// the program state: shiftState and lastCode (atomics, never reset, shared by
// all callers and across line modes) and the dictionary (swapped whole on a
// reload). One caller's codes keep their order; callers that interleave
// share the shift state, as the station always has.

#include <string>

class EventLog;
class MacroFilter;
class OutputRouter;
struct CodeTableEntry;
struct ProgramState;

class CharacterEncoder {
public:
    // A replacement text is coded through the dictionary again; beyond this
    // many levels a character is skipped (an entry that leads back to itself).
    static constexpr int kMaxSubstitutionDepth = 5;
    // Nor does one character ever become more than this many: entries whose
    // texts are full of characters with entries of their own would
    // otherwise multiply at every level and hold the line for hours.
    static constexpr int kMaxSubstitutedCharacters = 512;

    CharacterEncoder(ProgramState& state, EventLog& log, OutputRouter& router, MacroFilter& macros)
        : state_(state), log_(log), router_(router), macros_(macros) {}
    CharacterEncoder(const CharacterEncoder&) = delete;
    CharacterEncoder& operator=(const CharacterEncoder&) = delete;

    // Codes one character (a signed 8-bit character passed as an int; 128..255
    // are taken as their negative values) in line mode `mode`: 1 ITA2,
    // 2 TELEX, anything else MILITARY.
    void EncodeChar(int character, int mode);

    // Replaces the dictionary with that of the file at `path`; false, with the
    // old dictionary kept, when the file cannot be opened.
    bool LoadIntCharDict(const std::string& path);
    bool LookupIntChar(int key, std::string& text) const;

private:
    // `budget`: the characters the replacement texts may still give, -1 once one was cut.
    void encode(int character, int mode, int depth, int& budget);
    // Step 3 and 4: logs and substitutes a character without a table row.
    void substitute(int c, int index, int mode, int depth, int& budget);
    void sendByRule(const CodeTableEntry& entry, int code);

    ProgramState& state_;
    EventLog& log_;
    OutputRouter& router_;
    MacroFilter& macros_;
};
