// The message store driven by a raw SMTP client: the end mark across
// receives and at the start, dot-stuffing and NUL bytes, a second DATA, the
// date-time and subject names, and the refusals that keep the disk honest
// (too large, no room), and the spool files a killed process left.

#include <gtest/gtest.h>

#include <algorithm>

#include "net/MailSpool.h"
#include "net/MessageStore.h"
#include "platform/FileSystem.h"
#include "support/MailClient.h"
#include "support/NetFixture.h"
#include "support/StoredFiles.h"

using namespace std::chrono_literals;
using namespace std::string_literals;

TEST(MessageStore, FindsTheEndMarkWhereverTheClientSplitsIt) {
    NetFixture s;
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    EXPECT_EQ(t.data({"Subject: Split\r\n\r\nfirst line\r\n", ".", "\r", "\n"}), StoredReply("Split.txt"));
    EXPECT_EQ(ReadBinaryFile("data/Split.txt"), "Subject: Split\r\n\r\r\nfirst line\r\r\nNNNN\r\r\n");
}

TEST(MessageStore, TakesDotStuffedLinesAndNulBytesAndASecondData) {
    NetFixture s;
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    EXPECT_EQ(t.data({"Subject: Dots\r\n\r\n..Leading dot\r\nnul\0here\r\n.\r\n"s}), StoredReply("Dots.txt"));
    EXPECT_EQ(ReadBinaryFile("data/Dots.txt"),
              "Subject: Dots\r\n\r\r\n.Leading dot\r\nnul\0here\r\r\nNNNN\r\r\n"s);
    EXPECT_EQ(t.data({"Subject: Again\r\n\r\nno new RCPT TO\r\n.\r\n"}), StoredReply("Again.txt"));
    EXPECT_EQ(s.queueEntries().size(), 2u);
}

// Mail of usual size is held in memory; a larger one goes on into a spool
// file: both come out the same, whichever side of the change a line falls.
TEST(MessageStore, AMessageLargerThanMemoryHoldsIsStoredWholeAndItsSpoolFileGoes) {
    NetFixture s;
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    std::string body;
    for (int n = 0; body.size() < 3 * MailSpool::kHeldInMemoryBytes; ++n)
        body += "line " + std::to_string(n) + " of the report\r\n";
    EXPECT_EQ(t.data({"Subject: Long\r\n\r\n" + body + ".\r\n"}), StoredReply("Long.txt"));
    // The last line keeps the CR of the end mark, as in every stored message.
    body.insert(body.size() - 1, "\r");
    EXPECT_EQ(ReadBinaryFile("data/Long.txt"), "Subject: Long\r\n\r\r\n" + body + "NNNN\r\r\n");
    EXPECT_EQ(SpoolFiles(), std::vector<std::string>{});
}

TEST(MessageStore, AnEmptyMessageEndsAtOnce) {
    NetFixture s;
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    std::string reply = t.data({".\r\n"});
    ASSERT_EQ(reply.substr(0, 39), "250 message succesfully stored as \"E_20") << reply;
    std::string name = reply.substr(35, reply.size() - 38);
    EXPECT_EQ(ReadBinaryFile("data/" + name), "");
}

TEST(MessageStore, NamesMessagesAfterTheirMomentOrSubject) {
    struct Case {
        std::string header;
        int useSubject;
        std::string name;
    };
    const Case cases[] = {
        {"Subject: Net Report: Monday\r\n", 1, "Net_Report$_Monday.txt"},
        {"Subject: \r\n", 1, ".txt"},
        {"Subject: abc\r\n", 1, "abc.txt"},
        {"From: no subject\r\n", 1, "E_"},
        {"Subject: Net Report: Monday\r\n", 0, "E_"},
        // The station's own framing files are never replaced from outside.
        {"Subject: HEADER\r\n", 1, "E_"},
    };
    for (const Case& c : cases) {
        NetFixture s;
        s.state.KOVAUseSubjectFileName = c.useSubject;
        WriteBinaryFile("data/header.txt", "ZCZC\r\n");
        s.startServices();
        MailClient t(s, s.smtpPort1, s.pump());
        t.envelope();
        std::string reply = t.data({c.header + "\r\nbody\r\n.\r\n"});
        EXPECT_EQ(reply.substr(0, 35 + c.name.size()), "250 message succesfully stored as \"" + c.name) << c.header;
        EXPECT_EQ(ReadBinaryFile("data/header.txt"), "ZCZC\r\n");
    }
}

TEST(MessageStore, AMessageNeverTakesTheNameOfAFileThatExists) {
    NetFixture s;
    s.state.KOVAUseSubjectFileName = 0;
    s.startServices();
    // The clock stands still until the transfer has started.
    auto still = [] { std::this_thread::sleep_for(1ms); };
    MailClient t(s, s.smtpPort1, still);
    t.envelope();
    Clock::TimePoint started = s.clock.now();
    std::string taken = MessageFiles::DateTimeName(started);
    WriteBinaryFile("data/" + taken, "the operator's file");
    t.client.send("DATA\r\n");
    t.client.readUntil("354 Send Data\r\n", still);
    t.client.send("Subject: x\r\n\r\nbody\r\n.\r\n");
    std::string reply = t.client.readUntil("\"\r\n", s.pump());
    // The next millisecond's name, or a later one when a slow session read
    // the clock only after the pump had moved it on: never the taken one.
    const std::string prefix = "354 Send Data\r\n250 message succesfully stored as \"";
    ASSERT_EQ(reply.rfind(prefix, 0), 0u) << reply;
    std::string stored = reply.substr(prefix.size(), reply.size() - prefix.size() - 3);
    EXPECT_NE(stored, taken);
    EXPECT_GE(stored, MessageFiles::DateTimeName(started + std::chrono::milliseconds(1)));
    EXPECT_EQ(ReadBinaryFile("data/" + taken), "the operator's file");
}

TEST(MessageStore, AMessageTooLargeIsRefusedAndLeavesNothing) {
    NetFixture s;
    s.limits.maxMessageBytes = 10000;
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    EXPECT_EQ(t.data({"Subject: Big\r\n\r\n" + std::string(20000, 'x') + "\r\n.\r\n"}), kNoStorageReply);
    EXPECT_TRUE(s.waitLogged("Message larger than 10000 bytes refused"));
    EXPECT_EQ(DataFiles(), std::vector<std::string>{});
    EXPECT_EQ(SpoolFiles(), std::vector<std::string>{});
}

TEST(MessageStore, AFullDiskIsReportedAndNoPartialFileStays) {
    // Body: one line of 48,000 characters, which wrapping makes longer
    // than the limit while the spooled message fits it.
    const std::string body = "Subject: Full\r\n\r\n" + std::string(48000, 'x') + "\r\n.\r\n";
    for (rlim_t limit : {rlim_t{20000}, rlim_t{49000}}) {
        NetFixture s;
        s.startServices();
        MailClient t(s, s.smtpPort1, s.pump());
        t.envelope();
        std::string reply;
        {
            FileSizeLimit full(limit);
            reply = t.data({body});
        }
        EXPECT_EQ(reply, kNoStorageReply) << limit;
        EXPECT_EQ(DataFiles(), std::vector<std::string>{}) << limit;
        EXPECT_EQ(SpoolFiles(), std::vector<std::string>{});
        std::vector<std::string> messages = s.logMessages();
        auto reported = std::find_if(messages.begin(), messages.end(), [&](const std::string& message) {
            return limit < 30000 ? message == "Unable to write temp data file"
                                 : message.substr(0, 22) == "Unable to write data\\E" &&
                                       message.substr(message.size() - 12) == " output file";
        });
        EXPECT_NE(reported, messages.end()) << ::testing::PrintToString(messages);
    }
}

TEST(MessageStore, SpoolFilesOfAKilledProcessGoBeforeTheServicesStart) {
    NetFixture s;
    WriteBinaryFile("data_Ab3xYz.tmp", "HELO a\r\nhalf a transfer");
    WriteBinaryFile("data_keep.tmp", "not a spool file's name");
    std::vector<std::string> before = SpoolFiles();
    std::sort(before.begin(), before.end());
    ASSERT_EQ(before, (std::vector<std::string>{"data_Ab3xYz.tmp", "data_keep.tmp"}));
    s.startServices();
    EXPECT_FALSE(FileExists("data_Ab3xYz.tmp"));
    EXPECT_TRUE(FileExists("data_keep.tmp"));
    EXPECT_TRUE(s.logged("Removed data_Ab3xYz.tmp, left by a transfer that never ended"));
}
