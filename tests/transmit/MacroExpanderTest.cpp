#include <gtest/gtest.h>

#include "support/CodingFixture.h"
#include "transmit/MacroTexts.h"

namespace {

constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
// Wednesday 2026-12-09 10:20:30 CET (09:20:30 UTC).
constexpr std::time_t kWinter = 1796808030;
// Tuesday 2026-05-05 08:04:07 CEST (06:04:07 UTC).
constexpr std::time_t kSummer = 1777961047;

std::vector<int> Ascii(const std::string& text) { return std::vector<int>(text.begin(), text.end()); }

struct MacroFixture : CodingFixture {
    explicit MacroFixture(std::time_t at = kWinter, const char* zone = kCentralEurope) : zoneGuard(zone) {
        s.clock.set(std::chrono::system_clock::from_time_t(at));
    }
    ZoneGuard zoneGuard;
    // What a teleprinter of the mode prints for the codes of `text`.
    std::string printed(const std::string& text, int mode = kModeMilitary) {
        return DecodeCodes(encode(text, mode), mode);
    }
};

struct TextCase {
    std::string text;
    std::string printed;
};

}  // namespace

TEST(MacroExpander, DateAndTimeTextsOnATeleprinter) {
    const std::vector<TextCase> cases = {
        {"^D", "WEDNESDAY, DECEMBER 9, 2026"},
        {"^d", "WEDNESDAY, DECEMBER 9, 2026"},
        {"^L", "DECEMBER 09, 2026"},
        {"^l", "DECEMBER 09, 2026"},
        {"^T", "10:20(CET)"},
        {"^t", "10:20(CET)"},
        {"^U", "09:20(UTC)"},
        {"^u", "09:20(UTC)"},
        {"^W", "WEDNESDAY"},
        {"^w", "WEDNESDAY"},
        {"AT ^T ON ^W.", "AT 10:20(CET) ON WEDNESDAY."},
    };
    for (int mode : {kModeIta2, kModeTelex, kModeMilitary}) {
        for (const TextCase& c : cases) {
            MacroFixture f;
            EXPECT_EQ(f.printed(c.text, mode), c.printed) << c.text << " in mode " << mode;
        }
    }
}

TEST(MacroExpander, SummerTimeAndDaysBelowTen) {
    const std::vector<TextCase> cases = {
        {"^D", "TUESDAY, MAY 5, 2026"},
        {"^L", "MAY 05, 2026"},
        {"^T", "08:04(CES)"},
        {"^U", "06:04(UTC)"},
        {"^W", "TUESDAY"},
    };
    for (const TextCase& c : cases) {
        MacroFixture f(kSummer);
        EXPECT_EQ(f.printed(c.text), c.printed) << c.text;
    }
}

TEST(MacroExpander, TheZoneIsTheLocalOne) {
    MacroFixture f(kWinter, "UTC0");
    EXPECT_EQ(f.printed("^T"), "09:20(UTC)");
    MacroFixture g(kWinter, "EST5EDT,M3.2.0,M11.1.0");
    EXPECT_EQ(g.printed("^T^U^L"), "04:20(EST)09:20(UTC)DECEMBER 09, 2026");
}

TEST(MacroExpander, CodesInTheFiveBitModes) {
    MacroFixture f;
    EXPECT_EQ(f.encode("^3"), (std::vector<int>{F, 5, 5, 5, L}));
    EXPECT_EQ(f.encode("^3", kModeIta2), (std::vector<int>{F, 5, 5, 5, L})) << "an apostrophe there";
    EXPECT_EQ(f.encode("1^3"), (std::vector<int>{F, 23, L, F, 5, 5, 5, L}));
    EXPECT_EQ(f.encode("^1^9"), (std::vector<int>{F, 5, L, F, 5, 5, 5, 5, 5, 5, 5, 5, 5, L}));
    EXPECT_EQ(f.encode("^0"), (std::vector<int>{0})) << "one blank, and the caret sends nothing";
    EXPECT_EQ(f.encode("^X"), (std::vector<int>{29})) << "the caret is lost";
    EXPECT_EQ(f.encode("1^X"), (std::vector<int>{F, 23, L, 29}));
    EXPECT_EQ(DecodeCodes(f.encode("^^W"), kModeMilitary), "WEDNESDAY") << "the second caret keeps the macro pending";
    // Hours and minutes, "(UTC)" with no blank between, and the LTRS of the
    // returned caret after the figures ')'.
    EXPECT_EQ(f.encode("^U"), (std::vector<int>{F, 22, 24, 14, 19, 22, 15, L, 7, 16, 14, F, 18, L}));
    EXPECT_EQ(f.encode("^^"), std::vector<int>{});
    EXPECT_EQ(f.encode("X"), (std::vector<int>{29})) << "a caret only starts a macro once";
}

TEST(MacroExpander, AMacroSpansTwoTexts) {
    MacroFixture f;
    EXPECT_EQ(f.encode("AB^"), (std::vector<int>{3, 25}));
    EXPECT_EQ(DecodeCodes(f.encode("LATER"), kModeMilitary), "DECEMBER 09, 2026ATER");
}

TEST(MacroExpander, ACaretReachesTheNextCallerWhateverItsMode) {
    MacroFixture f;
    f.encode("^");
    EXPECT_EQ(f.sendSevenBit("W"), Ascii("Wednesday^"));
    f.sendSevenBit("^");
    EXPECT_EQ(DecodeCodes(f.encode("W"), kModeMilitary), "WEDNESDAY");
}

TEST(MacroExpander, CodesInAsciiAndPsk31) {
    for (int mode : {kModeAscii, kModePsk31}) {
        MacroFixture f;
        EXPECT_EQ(f.sendSevenBit("^3", mode), (std::vector<int>{'^', 7, 7, 7, '^'}));
        EXPECT_EQ(f.sendSevenBit("^0", mode), (std::vector<int>{'^', 0, '^'})) << "exactly one NUL";
        EXPECT_EQ(f.sendSevenBit("^X", mode), Ascii("^X"));
        EXPECT_EQ(f.sendSevenBit("^L", mode), Ascii("^December 09, 2026^"));
        EXPECT_EQ(f.sendSevenBit("^d", mode), Ascii("^Wednesday, December 9, 2026^"));
        EXPECT_EQ(f.sendSevenBit("^T", mode), Ascii("^10:20(CET)^"));
        EXPECT_EQ(f.sendSevenBit("^U", mode), Ascii("^09:20(UTC)^"));
        EXPECT_EQ(f.sendSevenBit("^^w", mode), Ascii("^^Wednesday^"));
        EXPECT_EQ(f.sendSevenBit("\xe9", mode), std::vector<int>{0xe9 & 127});
    }
}

TEST(MacroExpander, TheTextsOfTheMacros) {
    ZoneGuard zone(kCentralEurope);
    TestClock clock;
    clock.set(std::chrono::system_clock::from_time_t(kWinter));
    std::string text;
    for (char letter : std::string("0123456789ABCEFGHIJKMNOPQRSVXYZ^ ")) EXPECT_FALSE(MacroText(letter, clock, text)) << letter;
    ASSERT_TRUE(MacroText('w', clock, text));
    EXPECT_EQ(text, "Wednesday");
    ASSERT_TRUE(MacroText('D', clock, text));
    EXPECT_EQ(text, "Wednesday, December 9, 2026");
}

// Mend: zone names of fewer than three words.
TEST(MacroExpander, ZoneInitials) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"CET", "(CET)"},
        {"CEST", "(CES)"},
        {"UTC", "(UTC)"},
        {"Z", "(Z)"},
        {"+03", "(+03)"},
        {"W. Europe", "(WE)"},
        {"Central European Standard Time", "(CES)"},
        {"  Pacific  Standard Time ", "(PST)"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& [zone, initials] : cases) EXPECT_EQ(ZoneInitials(zone), initials) << '"' << zone << '"';
}
