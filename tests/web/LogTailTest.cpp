#include "web/LogTail.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"

namespace {

void append(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    file << bytes;
}

}  // namespace

TEST(LogTail, GivesTheLinesAfterANumberAndTheNumberToAskNext) {
    TempDir dir;
    EXPECT_TRUE(ReadLogAfter("none.log", 0, 500).lines.empty());
    EXPECT_EQ(ReadLogAfter("none.log", 7, 500).next, 7);
    append("day.log", "01:00:00 > one\r\n01:00:01 > two\r\n01:00:02 > three\r\n01:00:03 > half");
    LogLines all = ReadLogAfter("day.log", 0, 500);
    EXPECT_EQ(all.lines, (std::vector<std::string>{"01:00:00 > one", "01:00:01 > two", "01:00:02 > three"}));
    EXPECT_EQ(all.next, 3);
    EXPECT_EQ(ReadLogAfter("day.log", 1, 500).lines, (std::vector<std::string>{"01:00:01 > two", "01:00:02 > three"}));
    EXPECT_EQ(ReadLogAfter("day.log", 0, 2).lines, (std::vector<std::string>{"01:00:01 > two", "01:00:02 > three"}));
    LogLines beyond = ReadLogAfter("day.log", 9, 500);
    EXPECT_TRUE(beyond.lines.empty());
    EXPECT_EQ(beyond.next, 9);
}

TEST(LogTail, AFollowerReadsOnlyWhatCameSinceItsLastLookAndANewDayWhole) {
    TempDir dir;
    append("day1.log", "a\r\nb\r\n");
    LogFollower follower;
    LogLines first = follower.ReadNew("day1.log");
    EXPECT_TRUE(first.lines.empty());
    EXPECT_EQ(first.next, 2);
    append("day1.log", "c\r\nd");
    LogLines second = follower.ReadNew("day1.log");
    EXPECT_EQ(second.lines, std::vector<std::string>{"c"});
    EXPECT_EQ(second.next, 3);
    append("day1.log", "e\r\n");
    EXPECT_EQ(follower.ReadNew("day1.log").lines, std::vector<std::string>{"de"});
    append("day2.log", "f\r\ng\r\n");
    LogLines nextDay = follower.ReadNew("day2.log");
    EXPECT_EQ(nextDay.lines, (std::vector<std::string>{"f", "g"}));
    EXPECT_EQ(nextDay.next, 2);
}
