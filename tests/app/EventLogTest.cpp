#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "app/CommandIds.h"
#include "app/JournalMirror.h"
#include "support/StationFixture.h"

namespace {

// A pipe standing in for systemd's journal stream, and the JOURNAL_STREAM
// value ("device:inode") that names it.
struct JournalPipe {
    JournalPipe() {
        EXPECT_EQ(::pipe(fds), 0);
        struct stat status {};
        ::fstat(fds[1], &status);
        name = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
    }
    ~JournalPipe() {
        for (int fd : fds)
            if (fd >= 0) ::close(fd);
    }
    // Everything written, once the writing end is closed.
    std::string received() {
        ::close(fds[1]);
        fds[1] = -1;
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }
    int fds[2] = {-1, -1};
    std::string name;
};

// Standard error is the journal pipe, as systemd starts a service, while
// this lives.
struct StandardErrorAsJournal {
    StandardErrorAsJournal() : saved(::dup(STDERR_FILENO)) {
        ::dup2(journal.fds[1], STDERR_FILENO);
        ::setenv("JOURNAL_STREAM", journal.name.c_str(), 1);
    }
    ~StandardErrorAsJournal() { restore(); }
    std::string received() {
        restore();
        return journal.received();
    }
    void restore() {
        if (saved < 0) return;
        ::unsetenv("JOURNAL_STREAM");
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        saved = -1;
    }
    JournalPipe journal;
    int saved;
};

}  // namespace

TEST(EventLog, NamesTheDailyFileAndStampsTheTimeWithZeros) {
    StationFixture s;
    s.clock.setLocal(2027, 3, 1, 0, 0, 0);
    s.log.write("midnight");
    EXPECT_EQ(s.log.todaysFileName(), "log/20270301.log");
    EXPECT_EQ(ReadBinaryFile("log/20270301.log"), "00:00:00 > midnight\r\n");

    s.clock.setLocal(2027, 3, 1, 9, 5, 3);
    s.log.write("later");
    EXPECT_EQ(s.logLines().back(), "09:05:03 > later");
    EXPECT_EQ(s.window.list(Id::LogList).back(), "09:05:03 > later");
}

TEST(EventLog, CutsTheMessageAtItsFirstLineEnd) {
    StationFixture s;
    s.log.write("abc\r\ndef");
    s.log.write("x\ny\rz");
    s.log.write("OnManagequeueSendnextfile: Starting TX and Sending \"a.txt\n");
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"abc", "x", "OnManagequeueSendnextfile: Starting TX and Sending \"a.txt"}));
    EXPECT_EQ(s.logLines().size(), 3u);
}

TEST(EventLog, WritesControlBytesAsCaretEscapesSoATerminalRunsNone) {
    StationFixture s;
    s.log.write("SMTP E-Mail Received from [HELO \x1b]0;owned\x07\x1b[2J\tx\x7f\xe9]");
    EXPECT_EQ(s.logMessages().back(), "SMTP E-Mail Received from [HELO ^[]0;owned^G^[[2J\tx^?\xe9]");
    EXPECT_EQ(s.window.list(Id::LogList).back().substr(11), s.logMessages().back());
}

TEST(EventLog, CutsAnOverlongMessageTo1012Characters) {
    StationFixture s;
    s.log.write(std::string(1500, 'm'));
    ASSERT_EQ(s.logMessages().size(), 1u);
    EXPECT_EQ(s.logMessages()[0], std::string(1012, 'm'));
    EXPECT_EQ(s.logLines()[0].size(), 1023u);
}

TEST(EventLog, KeepsTheNewest500LinesInTheListWithTheNewestSelected) {
    StationFixture s;
    for (int i = 1; i <= 501; ++i) s.log.writef("line %d", i);
    auto messages = s.logMessages();
    ASSERT_EQ(messages.size(), 500u);
    EXPECT_EQ(messages.front(), "line 2");
    EXPECT_EQ(messages.back(), "line 501");
    EXPECT_EQ(s.window.listCurrent(Id::LogList), 499);
    EXPECT_EQ(s.logLines().size(), 501u) << "the file keeps every line";
}

TEST(EventLog, MissingLogFolderShowsTheBoxAndLosesTheLine) {
    StationFixture s;
    std::filesystem::remove_all("log");
    s.log.write("first");
    s.log.write("second");
    auto boxes = s.window.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Cannot open LOG file,check for LOG directory.");
    EXPECT_EQ(boxes[0].caption, "Log Create Error");
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(s.window.list(Id::LogList).empty());
    EXPECT_FALSE(std::filesystem::exists("log"));
}

TEST(EventLog, ALogFolderThatIsAFileShowsTheBox) {
    StationFixture s;
    std::filesystem::remove_all("log");
    WriteBinaryFile("log", "not a folder");
    s.log.write("refused");
    EXPECT_EQ(s.window.boxes().size(), 1u);
    EXPECT_EQ(ReadBinaryFile("log"), "not a folder");
}

// A writer inside the box's own message loop must neither wait for ever nor
// raise a second box: its line is lost like the one that raised the box.
TEST(EventLog, WriterInsideTheFailureBoxNeitherWaitsNorStacksBoxes) {
    StationFixture s;
    std::filesystem::remove_all("log");
    s.window.setWhileBoxShown([&] { s.log.write("from inside the box"); });
    s.log.write("raises the box");
    EXPECT_EQ(s.window.boxes().size(), 1u);

    ::mkdir("log", 0777);
    s.log.write("after");
    EXPECT_EQ(s.logMessages(), std::vector<std::string>{"after"});
}

TEST(EventLog, WritersOnTwoThreadsGiveWholeLinesInTheSameOrderInFileAndList) {
    StationFixture s;
    constexpr int kPerThread = 200;
    auto writer = [&](char tag) {
        for (int i = 0; i < kPerThread; ++i) s.log.write(std::string(40, tag) + std::to_string(i));
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    auto lines = s.logLines();
    ASSERT_EQ(lines.size(), 2u * kPerThread);
    std::vector<std::string> list = s.window.list(Id::LogList);
    std::vector<std::string> newestInFile(lines.end() - static_cast<long>(list.size()), lines.end());
    EXPECT_EQ(list, newestInFile);
    for (const std::string& line : lines) {
        std::string text = line.substr(11);
        char tag = text[0];
        EXPECT_EQ(text.substr(0, 40), std::string(40, tag)) << line;
    }
}

TEST(EventLog, AWaitingWriterKeepsPumping) {
    StationFixture s;
    s.state.logBusy.test_and_set();
    s.pump.onPump = [&] {
        if (s.pump.calls == 5) s.state.logBusy.clear();
    };
    s.log.write("after the other writer");
    EXPECT_GE(s.pump.calls, 5);
    EXPECT_EQ(s.logMessages(), std::vector<std::string>{"after the other writer"});
}

TEST(EventLog, UnderSystemdEachLineGoesToTheJournalAsWell) {
    StandardErrorAsJournal journal;
    StationFixture s;
    s.log.write("***** Tarvik has been STARTED *****");
    s.clock.setLocal(2026, 12, 9, 10, 20, 31);
    s.log.write("SMTP E-Mail Received from [\x1b[2J]");
    std::filesystem::remove_all("log");
    s.log.write("the file cannot take this one");
    EXPECT_EQ(journal.received(),
              "10:20:30 > ***** Tarvik has been STARTED *****\n"
              "10:20:31 > SMTP E-Mail Received from [^[[2J]\n"
              "10:20:31 > the file cannot take this one\n");
}

TEST(EventLog, WithoutTheJournalNothingGoesToStandardError) {
    JournalPipe stderrPipe;
    int saved = ::dup(STDERR_FILENO);
    ::dup2(stderrPipe.fds[1], STDERR_FILENO);
    {
        StationFixture s;
        s.log.write("only in the file");
        EXPECT_EQ(s.logLines().size(), 1u);
    }
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    EXPECT_EQ(stderrPipe.received(), "");
}

// Only the very stream systemd named is the journal: a child whose standard
// error was redirected inherits JOURNAL_STREAM but must not mirror.
TEST(JournalMirror, MirrorsOnlyIntoTheStreamJournalStreamNames) {
    JournalPipe journal;
    JournalPipe other;
    std::string device = journal.name.substr(0, journal.name.find(':'));
    std::string inode = journal.name.substr(journal.name.find(':') + 1);
    std::string nextInode = device + ":" + std::to_string(std::stoull(inode) + 1);
    struct Case {
        int fd;
        std::optional<std::string> value;
        bool active;
    } cases[] = {
        {journal.fds[1], journal.name, true},
        {journal.fds[1], std::nullopt, false},
        {other.fds[1], journal.name, false},
        {journal.fds[1], "", false},
        {journal.fds[1], "journal", false},
        {journal.fds[1], journal.name + "x", false},
        {journal.fds[1], nextInode, false},
        {-1, journal.name, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JournalMirror(c.fd, c.value ? c.value->c_str() : nullptr).active(), c.active)
            << c.fd << " " << c.value.value_or("unset");
}

TEST(JournalMirror, WritesEachLineWholeWithItsLineEnd) {
    JournalPipe journal;
    JournalMirror mirror(journal.fds[1], journal.name.c_str());
    std::string longLine(EventLog::kMaxMessage + 11, 'x');
    mirror.write("one");
    mirror.write(longLine);
    JournalMirror(journal.fds[1], nullptr).write("not mirrored");
    EXPECT_EQ(journal.received(), "one\n" + longLine + "\n");
}
