#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/TextFile.h"
#include "support/TempDir.h"

TEST(TextFile, WritesLineFeedsAsCrLfAndReadsThemBack) {
    TempDir dir;
    TextFileWriter writer;
    ASSERT_TRUE(writer.open("msg.txt", TextFileWriter::Mode::Truncate));
    EXPECT_TRUE(writer.write("From: a\nTo: b\r\n\nbody\x01\xff"));
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(ReadBinaryFile("msg.txt"), "From: a\r\nTo: b\r\r\n\r\nbody\x01\xff");

    std::string contents;
    ASSERT_TRUE(ReadTextFile("msg.txt", contents));
    EXPECT_EQ(contents, "From: a\nTo: b\r\n\nbody\x01\xff") << "CR LF folds, a lone CR stays";
    EXPECT_EQ(FoldLineEnds(ReadBinaryFile("msg.txt")), contents) << "the same fold for bytes held in memory";
    EXPECT_EQ(FoldLineEnds("\r\r\n\r"), "\r\n\r");

    // A folder opens but cannot be read: not a whole (empty) file.
    ::mkdir("folder.txt", 0777);
    EXPECT_FALSE(ReadTextFile("folder.txt", contents));
}

TEST(TextFile, AppendsToWhatIsThere) {
    TempDir dir;
    TextFileWriter writer;
    ASSERT_TRUE(writer.open("log.txt", TextFileWriter::Mode::Append));
    writer.write("one\n");
    writer.close();
    ASSERT_TRUE(writer.open("log.txt", TextFileWriter::Mode::Append));
    writer.write("two\n");
    writer.close(true);
    EXPECT_EQ(ReadBinaryFile("log.txt"), "one\r\ntwo\r\n");
}

TEST(TextFile, ReadsLinesInPiecesOfTheBufferSize) {
    TempDir dir;
    WriteBinaryFile("long.txt", std::string(10, 'x') + "\r\nshort\r\nend");
    TextFileReader reader;
    ASSERT_TRUE(reader.open("long.txt"));
    std::string line;
    std::vector<std::string> lines;
    while (reader.readLine(line, 5)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"xxxx", "xxxx", "xx\n", "shor", "t\n", "end"}));
}

TEST(TextFile, MissingFilesAndFoldersFailCleanly) {
    TempDir dir;
    TextFileReader reader;
    EXPECT_FALSE(reader.open("absent.txt"));
    std::string line;
    EXPECT_FALSE(reader.readLine(line, 512));
    TextFileWriter writer;
    EXPECT_FALSE(writer.open("no/such/folder/x.txt", TextFileWriter::Mode::Truncate));
    EXPECT_FALSE(writer.write("lost"));
}

TEST(TextFile, AFileSizeLimitIsAFailedWriteNotADeadProcess) {
    TempDir dir;
    TextFileWriter writer;
    ASSERT_TRUE(writer.open("/dev/full", TextFileWriter::Mode::Truncate));
    writer.write(std::string(100000, 'a'));
    EXPECT_FALSE(writer.close(true));
}
