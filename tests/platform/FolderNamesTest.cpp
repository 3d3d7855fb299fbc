// The data folder's names, read once and then followed through the kernel's
// notes: every change made a moment before a question is in its answer.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/FolderNames.h"
#include "support/TempDir.h"

TEST(FolderNames, AnswersWithTheFolderSpellingOfEachChangeMadeBeforeTheQuestion) {
    TempDir dir;
    ::mkdir("data", 0777);
    WriteBinaryFile("data/Net_Report.TXT", "x");
    FolderNames names;
    EXPECT_EQ(names.Spelling("data/", "net_report.txt"), "Net_Report.TXT");
    EXPECT_EQ(names.Spelling("data/", "Net_Report.TXT"), "Net_Report.TXT");
    EXPECT_EQ(names.Spelling("data/", "Weather.txt"), "Weather.txt") << "a name the folder has not";

    WriteBinaryFile("data/WEATHER.txt", "made after the first question");
    EXPECT_EQ(names.Spelling("data/", "weather.txt"), "WEATHER.txt");
    ASSERT_EQ(std::rename("data/WEATHER.txt", "data/Weather.Txt"), 0);
    EXPECT_EQ(names.Spelling("data/", "weather.txt"), "Weather.Txt") << "moved within the folder";
    ASSERT_EQ(std::rename("data/Weather.Txt", "elsewhere.txt"), 0);
    EXPECT_EQ(names.Spelling("data/", "weather.txt"), "weather.txt") << "moved out";
    ASSERT_EQ(std::rename("elsewhere.txt", "data/wEATHER.TXT"), 0);
    EXPECT_EQ(names.Spelling("data/", "weather.txt"), "wEATHER.TXT") << "moved in";
    ASSERT_TRUE(RemoveFile("data/wEATHER.TXT"));
    ASSERT_TRUE(RemoveFile("data/Net_Report.TXT"));
    EXPECT_EQ(names.Spelling("data/", "net_report.txt"), "net_report.txt") << "removed";

    // Two spellings of one name: the one asked for when it is there.
    WriteBinaryFile("data/Twin.txt", "a");
    WriteBinaryFile("data/TWIN.TXT", "b");
    EXPECT_EQ(names.Spelling("data/", "TWIN.TXT"), "TWIN.TXT");
    EXPECT_EQ(names.Spelling("data/", "Twin.txt"), "Twin.txt");
    ASSERT_TRUE(RemoveFile("data/Twin.txt"));
    EXPECT_EQ(names.Spelling("data/", "twin.txt"), "TWIN.TXT");
}

TEST(FolderNames, AFolderReplacedOrMissingIsReadAgain) {
    TempDir dir;
    ::mkdir("data", 0777);
    WriteBinaryFile("data/Old.txt", "x");
    FolderNames names;
    EXPECT_EQ(names.Spelling("data/", "old.txt"), "Old.txt");
    ASSERT_EQ(std::rename("data", "data.before"), 0);
    EXPECT_EQ(names.Spelling("data/", "old.txt"), "old.txt") << "no folder: nothing matches";
    ::mkdir("data", 0777);
    WriteBinaryFile("data/NEW.txt", "y");
    EXPECT_EQ(names.Spelling("data/", "new.txt"), "NEW.txt");
    EXPECT_EQ(names.Spelling("data/", "old.txt"), "old.txt");
    // Another folder asked about: its own names.
    EXPECT_EQ(names.Spelling("data.before/", "OLD.TXT"), "Old.txt");
}
