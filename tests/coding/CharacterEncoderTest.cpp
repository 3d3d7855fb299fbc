#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "coding/CodeTable.h"
#include "support/CodingFixture.h"

namespace {

struct Case {
    const char* name;
    std::string text;
    int mode;
    std::vector<int> codes;
};

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char ch : text) {
        if (ch >= 32 && ch < 127) out.push_back(static_cast<char>(ch));
        else out += "\\x" + std::to_string(ch);
    }
    return out;
}

// Each case starts on a fresh line: letters shift, lastCode 0, no macro pending.
void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        CodingFixture f;
        EXPECT_EQ(f.encode(c.text, c.mode), c.codes) << c.name << ": \"" << Printable(c.text) << "\"";
    }
}

std::string Skipping(unsigned char ch, int index) {
    return std::string("Received extended ascii character ") + static_cast<char>(ch) +
           " (index=" + std::to_string(index) + ").  Skipping";
}

std::string Changed(unsigned char ch, int index, const std::string& text) {
    return std::string("Received extended ascii character ") + static_cast<char>(ch) +
           " (index=" + std::to_string(index) + ").  Changed to " + text;
}

}  // namespace

TEST(CharacterEncoder, ShiftsAndLineEnds) {
    RunCases({
        {"the worked example", "12 AB\r\n", kModeMilitary, {F, 23, 19, SP, L, 3, 25, CR, CR, LF, L}},
        {"letter figure letter", "A1A", kModeMilitary, {3, F, 23, L, 3}},
        {"a space after figures sends LTRS", "1 1", kModeMilitary, {F, 23, SP, L, F, 23}},
        {"three CRs give two codes", "\r\r\r", kModeMilitary, {CR, CR}},
        {"LF after a letter", "A\n", kModeMilitary, {3, CR, CR, LF, L}},
        {"CR LF", "\r\n", kModeMilitary, {CR, CR, LF, L}},
        {"LF LF", "\n\n", kModeMilitary, {CR, CR, LF, L, CR, CR, LF, L}},
        {"CR after LF", "\n\r", kModeMilitary, {CR, CR, LF, L, CR, CR}},
        {"a letter after CR", "\rA\r", kModeMilitary, {CR, CR, 3, CR, CR}},
        {"figures survive a CR", "1\r2", kModeMilitary, {F, 23, CR, CR, 19}},
        {"lower case folds", "abz", kModeMilitary, {3, 25, 17}},
        {"upper case", "ABZ", kModeMilitary, {3, 25, 17}},
        {"'{' codes as '['", "{", kModeMilitary, {F, 15}},
        {"'[' ", "[", kModeMilitary, {F, 15}},
        {"'|' codes as '\\'", "|", kModeMilitary, {F, 29}},
        {"'}' codes as ']'", "}", kModeMilitary, {F, 18}},
        {"DEL codes as '_'", "\x7f", kModeMilitary, {F, 3}},
        {"'~' in letters sends nothing", "~", kModeMilitary, {}},
        {"'~' in figures sends LTRS", "1~", kModeMilitary, {F, 23, L}},
        {"'~' starts no macro", "~L", kModeMilitary, {18}},
        {"'<' '>' TAB in letters", "<>\t", kModeMilitary, {}},
        {"'<' in figures", "1<", kModeMilitary, {F, 23, L}},
        {"'>' in figures", "1>", kModeMilitary, {F, 23, L}},
        {"TAB in figures", "1\t", kModeMilitary, {F, 23, L}},
        {"'<' then a figure shifts again", "1<2", kModeMilitary, {F, 23, L, F, 19}},
        {"BEL in MILITARY", "\a", kModeMilitary, {F, 5}},
        {"BEL in ITA2", "\a", kModeIta2, {F, 11}},
        {"BEL in TELEX", "\a", kModeTelex, {F, 11}},
        {"'@' is a space without a shift", "@", kModeMilitary, {SP}},
        {"'@' after figures", "1@", kModeMilitary, {F, 23, SP, L}},
        {"'!' in ITA2 is a space", "!", kModeIta2, {SP}},
        {"'!' in MILITARY", "!", kModeMilitary, {F, 13}},
        {"US in letters", "\x1f", kModeMilitary, {L}},
        {"US in figures puts two LTRS", "1\x1f", kModeMilitary, {F, 23, L, L}},
        {"ESC is FIGS", "\x1b" "1", kModeMilitary, {F, 23}},
        {"ESC then a letter", "\x1b" "A", kModeMilitary, {F, L, 3}},
        {"NUL from letters sends two blanks", std::string(1, '\0'), kModeMilitary, {0, 0}},
        {"NUL NUL", std::string(2, '\0'), kModeMilitary, {0, 0, 0}},
        {"a letter after NUL shifts", std::string(1, '\0') + "A", kModeMilitary, {0, 0, L, 3}},
        {"mode 0 codes the MILITARY column", "!", kModeAscii, {F, 13}},
        {"mode 4 codes the MILITARY column", "$", kModePsk31, {F, 9}},
        {"mode 5 codes the MILITARY column", "'", kModeCw, {F, 11}},
        {"'$' in ITA2", "$", kModeIta2, {F, 20}},
        {"'$' in TELEX", "$", kModeTelex, {F, 13}},
        {"';' in ITA2", ";", kModeIta2, {SP}},
        {"';' in TELEX", ";", kModeTelex, {F, 30}},
        {"'=' in ITA2", "=", kModeIta2, {F, 30}},
        {"'+' in ITA2", "+", kModeIta2, {F, 17}},
        {"'+' in TELEX", "+", kModeTelex, {SP}},
    });
}

TEST(CharacterEncoder, TheStateStartsAtZeroAndCarriesOverBetweenTextsAndModes) {
    CodingFixture f;
    f.s.state.shiftState = 0;
    EXPECT_EQ(f.encode("A"), (std::vector<int>{L, 3})) << "the first letter ever sent is shifted";
    EXPECT_EQ(f.encode("1", kModeIta2), (std::vector<int>{F, 23}));
    EXPECT_EQ(f.encode("2", kModeTelex), (std::vector<int>{19})) << "still in figures from the last text";
    EXPECT_EQ(f.encode("\r"), (std::vector<int>{CR, CR}));
    EXPECT_EQ(f.encode("\r\n", kModeIta2), (std::vector<int>{LF, L})) << "the CR of the last text counts";
    EXPECT_EQ(f.s.state.shiftState, L);
    EXPECT_EQ(f.s.state.lastCode, LF);
}

TEST(CharacterEncoder, NoCodeLeavesLastCodeAlone) {
    CodingFixture f;
    f.encode("\r");
    EXPECT_EQ(f.encode("<\r"), std::vector<int>{}) << "a CR after a dropped character still follows a CR";
}

TEST(CharacterEncoder, TheGraveAccentIsSkippedWithALogLine) {
    CodingFixture f;
    EXPECT_EQ(f.encode("`"), (std::vector<int>{0, 0}));
    EXPECT_EQ(f.newLogMessages(), std::vector<std::string>{Skipping('`', 96)});
    EXPECT_EQ(f.encode("`"), (std::vector<int>{0})) << "the shift is 0 after a blank";
}

TEST(CharacterEncoder, AnExtendedCharacterWithoutAnEntryIsSkipped) {
    CodingFixture f;
    EXPECT_EQ(f.encode("\xe9"), (std::vector<int>{0, 0}));
    EXPECT_EQ(f.newLogMessages(), std::vector<std::string>{Skipping(0xe9, 233)});
    EXPECT_EQ(f.encode("\xe9" "A"), (std::vector<int>{0, L, 3}));
}

TEST(CharacterEncoder, AnExtendedCharacterIsReplacedThroughTheDictionary) {
    CodingFixture f;
    f.writeFile("IntCharDict.txt", "233 E\r\n169 (C)  // copyright\r\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    EXPECT_EQ(f.encode("\xe9"), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(f.newLogMessages(), std::vector<std::string>{Changed(0xe9, 233, "E")});
    EXPECT_EQ(f.encode("\xa9"), (std::vector<int>{F, 15, L, 14, F, 18, SP, L, SP, 0, 0}));
    EXPECT_EQ(f.newLogMessages(), std::vector<std::string>{Changed(0xa9, 169, "(C)  ")});
}

TEST(CharacterEncoder, ExtendedCharactersInsideAReplacementAreReplacedToo) {
    CodingFixture f;
    f.writeFile("IntCharDict.txt", "196 A\xc5\n197 Z\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    EXPECT_EQ(f.encode("\xc4"), (std::vector<int>{3, 17, 0, 0, 0}));
    EXPECT_EQ(f.newLogMessages(),
              (std::vector<std::string>{Changed(0xc4, 196, "A\xc5"), Changed(0xc5, 197, "Z")}));
}

TEST(CharacterEncoder, AReplacementMayCarryAMacro) {
    CodingFixture f;
    f.writeFile("IntCharDict.txt", "182 ^3\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    EXPECT_EQ(f.encode("\xb6"), (std::vector<int>{F, 5, 5, 5, L, 0, 0}));
}

// Mend: an entry leading back to itself is bounded, the innermost level
// skipped with the Skipping line.
TEST(CharacterEncoder, AnEntryThatLeadsBackToItselfEndsAfterAFewLevels) {
    for (const char* file : {"233 \xe9\n", "233 \xe8\n232 \xe9\n"}) {
        CodingFixture f;
        f.writeFile("IntCharDict.txt", file);
        ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
        const int depth = CharacterEncoder::kMaxSubstitutionDepth;
        std::vector<int> blanks(2 + depth, 0);
        EXPECT_EQ(f.encode("\xe9"), blanks);
        std::vector<std::string> lines = f.newLogMessages();
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(depth + 1));
        for (int i = 0; i < depth; ++i) EXPECT_NE(lines[i].find(".  Changed to "), std::string::npos) << lines[i];
        EXPECT_NE(lines.back().find(".  Skipping"), std::string::npos) << lines.back();
    }
}

// Mend: texts full of characters with entries of their own would multiply
// at every level (30 to the fifth here); one character gives at most the
// bound, and the line says so.
TEST(CharacterEncoder, ReplacementTextsThatMultiplyStopAtTheirBound) {
    CodingFixture f;
    f.writeFile("IntCharDict.txt", "255 " + std::string(30, '\xff') + "\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    const long bound = CharacterEncoder::kMaxSubstitutedCharacters;
    // Blanks, one a character coded (give or take the line's own).
    auto blanks = [](const std::vector<int>& codes) { return std::count(codes.begin(), codes.end(), 0); };
    std::vector<int> codes = f.encode("\xff");
    EXPECT_GE(blanks(codes), bound);
    EXPECT_LE(codes.size(), bound + 2);
    std::vector<std::string> lines = f.newLogMessages();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Replacement texts for character \xff cut after 512 characters");
    codes = f.encode("\xff" "A");
    EXPECT_GE(blanks(codes), bound) << "the next character has a bound of its own";
    EXPECT_LE(codes.size(), bound + 4);
    EXPECT_EQ(codes.back(), 3) << "and the text goes on";

    // Exactly the bound (16 + 16 x 31): everything goes, nothing is said of a cut.
    f.writeFile("IntCharDict.txt", "200 " + std::string(16, '\xc9') + "\n201 " + std::string(31, 'A') + "\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    f.newLogMessages();
    codes = f.encode("\xc8");
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 3), 16 * 31);
    lines = f.newLogMessages();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find(" cut after ") != std::string::npos; }),
              0);
}

TEST(CharacterEncoder, TheKey0065IsStoredAs65AndNeverLookedUp) {
    CodingFixture f;
    f.writeFile("IntCharDict.txt", "0065 X\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    std::string text;
    EXPECT_TRUE(f.encoder.LookupIntChar(65, text));
    EXPECT_EQ(text, "X");
    EXPECT_EQ(f.encode("A"), (std::vector<int>{3}));
    EXPECT_TRUE(f.newLogMessages().empty());
}

TEST(CharacterEncoder, AFailedLoadKeepsTheOldDictionary) {
    CodingFixture f;
    std::string text;
    EXPECT_FALSE(f.encoder.LookupIntChar(233, text)) << "empty before the first load";
    EXPECT_FALSE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    f.writeFile("IntCharDict.txt", "233 E\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("IntCharDict.txt"));
    EXPECT_FALSE(f.encoder.LoadIntCharDict("missing.txt"));
    EXPECT_TRUE(f.encoder.LookupIntChar(233, text));
    EXPECT_EQ(text, "E");
    f.writeFile("IntCharDict.txt", "232 e\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("INTCHARDICT.TXT")) << "names are found without regard to case";
    EXPECT_FALSE(f.encoder.LookupIntChar(233, text)) << "a reload replaces the whole dictionary";
    EXPECT_TRUE(f.encoder.LookupIntChar(232, text));
}

// Every character 0..255 in every mode, from letters shift: a
// character the mode's alphabet has prints as itself on a teleprinter of that
// mode, with at most its shift before it; every other one sends what its
// class is specified to send.
TEST(CharacterEncoder, EveryCharacterInEveryMode) {
    // Characters the table gives the code of another one.
    auto printedAs = [](int ch) {
        switch (ch) {
        case '*': case '_': return '-';
        case '[': return '(';
        case '\\': return '/';
        case ']': return ')';
        default: return static_cast<char>(ch);
        }
    };
    // Modes other than 1 and 2 code the MILITARY column (the admin sessions).
    for (int mode : {kModeAscii, kModeIta2, kModeTelex, kModeMilitary, kModePsk31, kModeCw}) {
        CodingFixture f;
        for (int ch = 0; ch < 256; ++ch) {
            f.s.state.shiftState = L;
            f.s.state.lastCode = 0;
            std::vector<int> codes = f.encode(std::string(1, static_cast<char>(ch)), mode);
            std::vector<std::string> lines = f.newLogMessages();
            std::string where = "mode " + std::to_string(mode) + " character " + std::to_string(ch);
            for (int code : codes) EXPECT_TRUE(code >= 0 && code < 32) << where;

            int folded = ch >= 97 && ch < 128 ? ch - 32 : ch;
            if (ch >= 128 || ch == '`') {
                EXPECT_EQ(codes, (std::vector<int>{0, 0})) << where;
                EXPECT_EQ(lines, std::vector<std::string>{Skipping(static_cast<unsigned char>(ch), ch)}) << where;
                continue;
            }
            EXPECT_TRUE(lines.empty()) << where;
            if (ch == 0) {
                EXPECT_EQ(codes, (std::vector<int>{0, 0})) << where;
            } else if (ch == '\r') {
                EXPECT_EQ(codes, (std::vector<int>{CR, CR})) << where;
            } else if (ch == '\n') {
                EXPECT_EQ(codes, (std::vector<int>{CR, CR, LF, L})) << where;
            } else if (ch == 27) {
                EXPECT_EQ(codes, (std::vector<int>{F})) << where;
            } else if (ch == 31) {
                EXPECT_EQ(codes, (std::vector<int>{L})) << where;
            } else if (codes.empty()) {
                EXPECT_EQ(CodeFor(codeTable[folded], mode), kNoCode) << where;
            } else if (codes == std::vector<int>{SP}) {
                EXPECT_TRUE(folded == ' ' || codeTable[folded].shift == F) << where;
            } else {
                const bool letter = folded >= 'A' && folded <= 'Z';
                EXPECT_EQ(codes.size(), letter ? 1u : 2u) << where;
                char expected = ch == 7 ? '\a' : printedAs(folded);
                EXPECT_EQ(DecodeCodes(codes, mode), std::string(1, expected)) << where;
            }
        }
    }
}

// Spaces that a mode prints for a figures character it has no code for.
TEST(CharacterEncoder, FiguresWithoutACodePrintAsSpace) {
    const std::map<int, std::string> spaces = {
        {kModeIta2, "!\"#;@"}, {kModeTelex, "!%+=@"}, {kModeMilitary, "%+=@"}};
    for (const auto& [mode, expected] : spaces) {
        CodingFixture f;
        std::string found;
        for (int ch = 33; ch < 96; ++ch) {
            f.s.state.shiftState = L;
            if (f.encode(std::string(1, static_cast<char>(ch)), mode) == std::vector<int>{SP}) found.push_back(static_cast<char>(ch));
        }
        EXPECT_EQ(found, expected) << "mode " << mode;
    }
}

// Session threads and the window thread code at once, while the dictionary
// is reloaded: the state stays whole (run under the sanitizers).
TEST(CharacterEncoder, CallersOnSeveralThreadsAndAReload) {
    CodingFixture f;
    f.writeFile("a.txt", "233 E\n");
    f.writeFile("b.txt", "233 F\n");
    ASSERT_TRUE(f.encoder.LoadIntCharDict("a.txt"));
    std::atomic<bool> wrong{false};
    std::atomic<bool> reloading{true};
    std::thread reloader([&] {
        for (int i = 0; i < 50; ++i) f.encoder.LoadIntCharDict(i % 2 ? "a.txt" : "b.txt");
        reloading = false;
    });
    std::thread reader([&] {
        std::string text;
        while (reloading)
            if (!f.encoder.LookupIntChar(233, text) || (text != "E" && text != "F")) wrong = true;
    });
    std::thread coder([&] {
        for (int i = 0; i < 200; ++i) f.encoder.EncodeChar("A1 \r\n"[i % 5], kModeTelex);
    });
    for (int i = 0; i < 200; ++i) f.encoder.EncodeChar("B2\r\n"[i % 4], kModeMilitary);
    reloader.join();
    reader.join();
    coder.join();
    EXPECT_FALSE(wrong);
    for (int code : f.newCodes()) EXPECT_TRUE(code >= 0 && code < 32);
    int shift = f.s.state.shiftState;
    EXPECT_TRUE(shift == L || shift == F || shift == 0);
}
