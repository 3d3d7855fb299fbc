#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "sound/psk31/Varicode.h"

// Every run of bits that starts and ends with 1 and has no "00" inside, up to
// nine bits, is some character's code (there are 88 such runs), and the
// remaining 40 characters take ten-bit runs: one slip in the table breaks this.
TEST(Varicode, TheCodesAreTheDistinctRunsWithoutTwoZerosShortestFirst) {
    std::set<std::string> seen;
    std::map<std::size_t, int> perLength;
    for (int ch = 0; ch < 128; ++ch) {
        std::string bits(VaricodeFor(ch));
        ASSERT_FALSE(bits.empty()) << ch;
        EXPECT_EQ(bits.front(), '1') << ch;
        EXPECT_EQ(bits.back(), '1') << ch;
        EXPECT_EQ(bits.find("00"), std::string::npos) << ch;
        EXPECT_EQ(bits.find_first_not_of("01"), std::string::npos) << ch;
        EXPECT_TRUE(seen.insert(bits).second) << "code of " << ch << " used twice";
        ++perLength[bits.size()];
        EXPECT_EQ(VaricodeCharacter(bits), ch);
    }
    std::map<std::size_t, int> expected = {{1, 1}, {2, 1}, {3, 2}, {4, 3},  {5, 5},
                                           {6, 8}, {7, 13}, {8, 21}, {9, 34}, {10, 40}};
    EXPECT_EQ(perLength, expected);
}

TEST(Varicode, CommonCharactersHaveTheirPublishedCodes) {
    struct Case { int ch; const char* bits; };
    for (Case c : {Case{' ', "1"}, Case{'e', "11"}, Case{'t', "101"}, Case{'o', "111"}, Case{'a', "1011"},
                   Case{'\r', "11111"}, Case{'\n', "11101"}, Case{'E', "1110111"}, Case{'T', "1101101"},
                   Case{'0', "10110111"}, Case{'.', "1010111"}, Case{0, "1010101011"}, Case{127, "1110110101"}})
        EXPECT_EQ(VaricodeFor(c.ch), c.bits) << c.ch;
    EXPECT_TRUE(VaricodeFor(128).empty());
    EXPECT_TRUE(VaricodeFor(-1).empty());
    EXPECT_EQ(VaricodeCharacter("00"), -1);
    EXPECT_EQ(VaricodeCharacter(""), -1);
}
