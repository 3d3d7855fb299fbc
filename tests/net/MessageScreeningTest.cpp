// The screening checks on stored files: word lists matched anywhere in upper
// case, the line-length test as stored (0 included), two CRs in a row, the
// duplicate test against the queue, and what only the bad-word check reports.

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "net/MessageScreening.h"
#include "platform/FileSystem.h"
#include "support/StationFixture.h"
#include "support/TempDir.h"

namespace {

struct ScreeningFixture {
    ScreeningFixture() {
        s.state.KOVAAutoLine72 = 72;
        s.state.badWords.replace({"DARN"});
        s.state.moderatedWords.replace({"POLITICS"});
        s.state.autoModeratedWords.replace({"WEATHER"});
    }
    std::string path(const std::string& text) {
        WriteBinaryFile("message.txt", text);
        return "message.txt";
    }
    StationFixture s;
    MessageScreening screening{s.state, s.log, s.window};
};

}  // namespace

TEST(MessageScreening, ScreensTextByLengthThenWords) {
    const std::vector<std::string> words = {"BAD", "WORSE"};
    struct Case {
        std::string text;
        int limit;
        int code;
        int line;
        std::string word;
    };
    const Case cases[] = {
        {"fine\nall fine\n", 72, 0, 0, ""},
        {"ok\nthis is worse and bad\n", 72, -18, 2, "BAD"},
        {"embadded\n", 72, -18, 1, "BAD"},
        {"ok\n" + std::string(73, 'x') + "\r\n", 72, -17, 2, ""},
        {std::string(72, 'x') + "\r\r\n", 72, 0, 0, ""},
        {std::string(80, 'x') + "\r\rbad\n", 72, -18, 1, "BAD"},
        {"\nx\n", 0, -17, 2, ""},
        {"\n\n", 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        ScreeningResult result = ScreenText(c.text, words, c.limit, -18);
        EXPECT_EQ(result.code, c.code) << c.text;
        EXPECT_EQ(result.lineNumber, c.line) << c.text;
        EXPECT_EQ(result.word, c.word) << c.text;
    }
}

TEST(MessageScreening, OnlyTheBadWordCheckReports) {
    ScreeningFixture f;
    std::string file = f.path("Subject: darn it\r\n\r\r\nthe politics of weather\r\n");
    EXPECT_EQ(f.screening.CheckModeratedWords(file, "m.txt"), -22);
    EXPECT_EQ(f.screening.CheckAutoModeratedWords(file, "m.txt"), -23);
    EXPECT_TRUE(f.s.logMessages().empty());
    EXPECT_EQ(f.screening.CheckBadWords(file, "m.txt"), -18);
    EXPECT_EQ(f.s.logMessages(), std::vector<std::string>{"ERROR - Message Contained bad word \"DARN\" in text"});
    EXPECT_EQ(ReadBinaryFile(file), "Subject: darn it\r\n\r\r\nthe politics of weather\r\n\r\n\r\n=======================\r\n"
                                    "ERROR - Message Contained bad word \"DARN\" in text\r\n=======================\r\n");
}

TEST(MessageScreening, ReportsLongLinesWithTheLimitAsStored) {
    ScreeningFixture f;
    std::string file = f.path("From: a\r\n\r\r\n" + std::string(73, 'q') + "\r\n");
    EXPECT_EQ(f.screening.CheckBadWords(file, "m.txt"), -17);
    f.s.state.KOVAAutoLine72 = 0;
    EXPECT_EQ(f.screening.CheckBadWords("message.txt", "m.txt"), -17);
    EXPECT_EQ(f.s.logMessages(), (std::vector<std::string>{"ERROR - Line 3 has 73 characters, only 72 max are allowed",
                                                            "ERROR - Line 1 has 7 characters, only 0 max are allowed"}));
}

TEST(MessageScreening, ADuplicateIsRejectedOnlyWhileAutostartIsOff) {
    ScreeningFixture f;
    std::string file = f.path("fine\r\n");
    f.s.window.listAdd(Id::QueueList, "12/09/2026 10:00:00 Net_Report$_Monday.txt");
    EXPECT_EQ(f.screening.CheckBadWords(file, "Net_Report$_Monday.txt"), -18);
    EXPECT_EQ(f.s.logMessages(),
              std::vector<std::string>{"ERROR - Duplicate Message \"Net_Report$_Monday.txt\" already in queue"});
    f.s.state.KOVAAutoStart = 1;
    EXPECT_EQ(f.screening.CheckBadWords(file, "Net_Report$_Monday.txt"), 0);
    EXPECT_EQ(f.screening.CheckBadWords(file, "other.txt"), 0);
}

// Only the bad-word check reports, and its note is appended as to any
// rejected message: to a file that is not there, it is the whole file; in a
// folder that is not there, the failed write is logged too.
TEST(MessageScreening, AMissingFileCannotBeCheckedAndOnlyTheBadWordCheckNotesIt) {
    ScreeningFixture f;
    EXPECT_EQ(f.screening.CheckModeratedWords("gone.txt", "gone.txt"), -1);
    EXPECT_TRUE(f.s.logMessages().empty());
    EXPECT_FALSE(FileExists("gone.txt"));
    EXPECT_EQ(f.screening.CheckBadWords("gone.txt", "gone.txt"), -1);
    const std::string text = "ERROR - Unable to Check Message \"gone.txt\", possible bad filename";
    EXPECT_EQ(f.s.logMessages(), std::vector<std::string>{text});
    EXPECT_EQ(ReadBinaryFile("gone.txt"),
              "\r\n\r\n=======================\r\n" + text + "\r\n\r\r\n=======================\r\n");

    EXPECT_EQ(f.screening.CheckBadWords("nowhere\\gone.txt", "gone.txt"), -1);
    EXPECT_EQ(f.s.logMessages(),
              (std::vector<std::string>{text,
                                        "ERROR - Unable to Check Message \"nowhere\\gone.txt\", possible bad filename",
                                        "Unable to write nowhere\\gone.txt output file"}));
}
