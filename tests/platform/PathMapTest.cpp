#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/PathMap.h"
#include "support/TempDir.h"

TEST(PathMap, BackslashesBecomeSlashes) {
    EXPECT_EQ(MapSlashes("data\\schedule.lst"), "data/schedule.lst");
    EXPECT_EQ(MapSlashes("data\\\\x"), "data//x");
}

TEST(PathMap, FindsExistingNamesWithoutRegardToCase) {
    TempDir dir;
    ::mkdir("data", 0777);
    WriteBinaryFile("Tarvik.ini", "x");
    WriteBinaryFile("data/Schedule.LST", "y");
    EXPECT_EQ(ResolvePath("Tarvik.INI"), "Tarvik.ini");
    EXPECT_EQ(ResolvePath("Data\\schedule.lst"), "data/Schedule.LST");
    EXPECT_EQ(ResolvePath("data//schedule.lst"), "data/Schedule.LST");
    EXPECT_EQ(ResolvePath("DATA\\new_file.txt"), "data/new_file.txt") << "a new file keeps its written name";
    EXPECT_EQ(ResolvePath("nowhere/At.all"), "nowhere/At.all");
    EXPECT_EQ(ResolvePath("Data\\"), "data/");
    // A name the caller spelt already: only its folder is matched.
    EXPECT_EQ(ResolveFolderOf("Data\\schedule.lst"), "data/schedule.lst");
    EXPECT_EQ(ResolveFolderOf("DATA\\Schedule.LST"), "data/Schedule.LST");
    EXPECT_EQ(ResolveFolderOf("plain.txt"), "plain.txt");
}

TEST(FolderListing, MatchesLikeTheOriginalPlatform) {
    EXPECT_TRUE(MatchesPattern("README", "*.*"));
    EXPECT_TRUE(MatchesPattern("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesPattern("NEWS.TXT", "*.txt"));
    EXPECT_FALSE(MatchesPattern("news.txt.bak", "*.txt"));
    EXPECT_TRUE(MatchesPattern("E_1.txt", "E_?.TXT"));
}

TEST(FolderListing, GivesNamesKindsAndWindowsFileTimes) {
    TempDir dir;
    ::mkdir("data", 0777);
    ::mkdir("data/badwords", 0777);
    WriteBinaryFile("data/a.txt", "a");
    struct timespec times[2] = {{0, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, "data/a.txt", times, 0);
    auto entries = ListFolder("Data\\*.*");
    bool sawFile = false, sawFolder = false;
    for (const FolderEntry& entry : entries) {
        if (entry.name == "a.txt") {
            sawFile = true;
            EXPECT_FALSE(entry.isFolder);
            EXPECT_EQ(entry.fileTime, (1000000000ULL + 11644473600ULL) * 10000000ULL);
        }
        if (entry.name == "badwords") sawFolder = entry.isFolder;
    }
    EXPECT_TRUE(sawFile);
    EXPECT_TRUE(sawFolder);
    EXPECT_TRUE(ListFolder("missing/*.*").empty());
}

TEST(FileSystem, MovesNeverReplaceAnExistingFile) {
    TempDir dir;
    WriteBinaryFile("one", "1");
    WriteBinaryFile("two", "2");
    EXPECT_FALSE(MoveWithoutReplace("one", "two"));
    EXPECT_EQ(ReadBinaryFile("two"), "2");
    EXPECT_TRUE(MoveWithoutReplace("one", "three"));
    EXPECT_FALSE(FileExists("one"));
    EXPECT_EQ(ReadBinaryFile("three"), "1");
    EXPECT_TRUE(MakeFolder("data\\"));
    EXPECT_FALSE(MakeFolder("data\\")) << "an existing folder is passed over";
}

TEST(FileSystem, SyncsFoldersByTheirStationNames) {
    TempDir dir;
    ASSERT_TRUE(MakeFolder("data\\"));
    WriteBinaryFile("data/message.txt", "x");
    EXPECT_TRUE(SyncFolder("data\\"));
    EXPECT_TRUE(SyncFolder("DATA"));
    EXPECT_FALSE(SyncFolder("missing\\"));
    EXPECT_FALSE(SyncFolder("data\\message.txt")) << "a file is not a folder";
}
