#include <gtest/gtest.h>

#include <optional>

#include "coding/IntCharDict.h"
#include "support/TempDir.h"

namespace {
struct LineCase {
    const char* name;
    std::string line;
    std::optional<std::pair<int, std::string>> entry;
};
}  // namespace

TEST(IntCharDict, LinesOfTheFile) {
    const std::vector<LineCase> cases = {
        {"key and letter", "233 E\n", {{233, "E"}}},
        {"no newline at the end", "233 E", {{233, "E"}}},
        {"a comment line", "// 233 E\n", std::nullopt},
        {"an indented comment", " \t // 233 E\n", std::nullopt},
        {"an empty line", "\n", std::nullopt},
        {"only white space", "  \t \n", std::nullopt},
        {"blanks before a comment are kept", "169 (C)  // copyright\n", {{169, "(C)  "}}},
        {"inner blanks kept", "198 A E\n", {{198, "A E"}}},
        {"trailing blanks kept", "198 AE  \n", {{198, "AE  "}}},
        {"white space after the blank skipped", "198 \t  AE\n", {{198, "AE"}}},
        {"leading white space skipped", "  \t233 E\n", {{233, "E"}}},
        {"no blank", "65E\n", std::nullopt},
        {"a tab is not the blank", "233\tE\n", std::nullopt},
        {"a tab before the blank belongs to the key", "233\t E\n", {{233, "E"}}},
        {"empty replacement", "233 \n", std::nullopt},
        {"replacement only a comment", "233 // none\n", std::nullopt},
        {"comment straight after the text", "233 E// e acute\n", {{233, "E"}}},
        {"leading zeros", "0065 A\n", {{65, "A"}}},
        {"no digits gives key 0", "abc X\n", {{0, "X"}}},
        {"digits then letters", "23x4 Y\n", {{23, "Y"}}},
        {"a sign is not a digit", "-5 Y\n", {{0, "Y"}}},
        {"a huge key is never 128..255", "99999999999999999999 Y\n", {{2147483647, "Y"}}},
        {"a lone CR stays in the text", "233 E\r\n", {{233, "E\r"}}},
        {"the text ends at a NUL", std::string("233 E\0F\n", 8), {{233, "E"}}},
        {"extended characters in the text", "196 A\xc5\n", {{196, "A\xc5"}}},
    };
    for (const LineCase& c : cases) {
        int key = -1;
        std::string text;
        bool found = IntCharDict::ParseLine(c.line, key, text);
        EXPECT_EQ(found, c.entry.has_value()) << c.name;
        if (found && c.entry) {
            EXPECT_EQ(key, c.entry->first) << c.name;
            EXPECT_EQ(text, c.entry->second) << c.name;
        }
    }
}

TEST(IntCharDict, AFileWithCommentsAndRepeatedKeys) {
    TempDir dir;
    WriteBinaryFile("IntCharDict.txt",
                    "// character dictionary\r\n"
                    "233 E\r\n"
                    "\r\n"
                    "169 (C)  // copyright\r\n"
                    "65E\r\n"
                    "233 EE\r\n"
                    "252 UE");
    auto dict = IntCharDict::FromFile("IntCharDict.txt");
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->size(), 3u);
    std::string text;
    ASSERT_TRUE(dict->lookup(233, text));
    EXPECT_EQ(text, "EE") << "a later line replaces an earlier one";
    ASSERT_TRUE(dict->lookup(169, text));
    EXPECT_EQ(text, "(C)  ") << "read as text: CR LF is a line feed";
    ASSERT_TRUE(dict->lookup(252, text));
    EXPECT_EQ(text, "UE");
    EXPECT_FALSE(dict->lookup(65, text));
}

TEST(IntCharDict, ALongLineIsReadInPiecesOf511) {
    TempDir dir;
    std::string first = "201 " + std::string(507, 'B');
    ASSERT_EQ(first.size(), 511u);
    WriteBinaryFile("d.txt", first + "202 Z\n" + "203 " + std::string(600, 'C') + "\n");
    auto dict = IntCharDict::FromFile("d.txt");
    ASSERT_NE(dict, nullptr);
    std::string text;
    ASSERT_TRUE(dict->lookup(201, text));
    EXPECT_EQ(text, std::string(507, 'B'));
    ASSERT_TRUE(dict->lookup(202, text)) << "the second piece is a line of its own";
    EXPECT_EQ(text, "Z");
    ASSERT_TRUE(dict->lookup(203, text));
    EXPECT_EQ(text, std::string(507, 'C'));
    EXPECT_EQ(dict->size(), 3u) << "the tail of 203's line has no blank";
}

TEST(IntCharDict, AFileThatCannotBeOpenedGivesNone) {
    TempDir dir;
    EXPECT_EQ(IntCharDict::FromFile("IntCharDict.txt"), nullptr);
}
