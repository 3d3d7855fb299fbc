// The message store driven by a raw SMTP client: the end mark across
// receives and at the start, dot-stuffing and NUL bytes, a second DATA, the
// date-time and subject names, and the refusals that keep the disk honest
// (too large, no room).

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "net/MessageStore.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "support/LoopbackClient.h"
#include "support/NetFixture.h"

using namespace std::chrono_literals;
using namespace std::string_literals;

namespace {

// A client past RCPT TO on the primary port.
struct Transfer {
    explicit Transfer(NetFixture& fixture, const std::function<void()>& pump)
        : s(fixture), client(fixture.smtpPort1), pump(pump) {
        client.readUntil("\r\n", pump);
        client.send("HELO tester\r\nMAIL FROM:<joe@example.com>\r\nRCPT TO:<kova@station.example>\r\n");
        client.readUntil("Recipient OK\r\n", pump);
        client.take();
    }
    // DATA, the given bytes (in pieces), and the reply to them.
    std::string send(const std::vector<std::string>& pieces) {
        client.send("DATA\r\n");
        client.readUntil("354 Send Data\r\n", pump);
        client.take();
        for (const std::string& piece : pieces) {
            client.send(piece);
            s.time.runFor(200ms);
        }
        std::string reply = client.readUntil("\r\n", s.pump());
        client.take();
        return reply;
    }
    NetFixture& s;
    LoopbackClient client;
    std::function<void()> pump;
};

std::vector<std::string> dataFiles() {
    std::vector<std::string> names;
    for (const FolderEntry& entry : ListFolder("data/*"))
        if (!entry.isFolder) names.push_back(entry.name);
    return names;
}

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

}  // namespace

TEST(MessageStore, FindsTheEndMarkWhereverTheClientSplitsIt) {
    NetFixture s;
    s.startServices();
    Transfer t(s, s.pump());
    EXPECT_EQ(t.send({"Subject: Split\r\n\r\nfirst line\r\n", ".", "\r", "\n"}),
              "250 message succesfully stored as \"Split.txt\"\r\n");
    EXPECT_EQ(ReadBinaryFile("data/Split.txt"), "Subject: Split\r\n\r\r\nfirst line\r\r\nNNNN\r\r\n");
}

TEST(MessageStore, TakesDotStuffedLinesAndNulBytesAndASecondData) {
    NetFixture s;
    s.startServices();
    Transfer t(s, s.pump());
    EXPECT_EQ(t.send({"Subject: Dots\r\n\r\n..Leading dot\r\nnul\0here\r\n.\r\n"s}),
              "250 message succesfully stored as \"Dots.txt\"\r\n");
    EXPECT_EQ(ReadBinaryFile("data/Dots.txt"),
              "Subject: Dots\r\n\r\r\n.Leading dot\r\nnul\0here\r\r\nNNNN\r\r\n"s);
    EXPECT_EQ(t.send({"Subject: Again\r\n\r\nno new RCPT TO\r\n.\r\n"}), "250 message succesfully stored as \"Again.txt\"\r\n");
    EXPECT_EQ(s.queueEntries().size(), 2u);
}

TEST(MessageStore, AnEmptyMessageEndsAtOnce) {
    NetFixture s;
    s.startServices();
    Transfer t(s, s.pump());
    std::string reply = t.send({".\r\n"});
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
        Transfer t(s, s.pump());
        std::string reply = t.send({c.header + "\r\nbody\r\n.\r\n"});
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
    Transfer t(s, still);
    Clock::TimePoint started = s.clock.now();
    std::string taken = MessageStore::DateTimeName(started);
    WriteBinaryFile("data/" + taken, "the operator's file");
    t.client.send("DATA\r\n");
    t.client.readUntil("354 Send Data\r\n", still);
    t.client.send("Subject: x\r\n\r\nbody\r\n.\r\n");
    EXPECT_EQ(t.client.readUntil("\"\r\n", s.pump()),
              "354 Send Data\r\n250 message succesfully stored as \"" +
                  MessageStore::DateTimeName(started + std::chrono::milliseconds(1)) + "\"\r\n");
    EXPECT_EQ(ReadBinaryFile("data/" + taken), "the operator's file");
}

TEST(MessageStore, AMessageTooLargeIsRefusedAndLeavesNothing) {
    NetFixture s;
    s.limits.maxMessageBytes = 10000;
    s.startServices();
    Transfer t(s, s.pump());
    EXPECT_EQ(t.send({"Subject: Big\r\n\r\n" + std::string(20000, 'x') + "\r\n.\r\n"}),
              "452  Requested action not taken: insufficient system storage\r\n");
    EXPECT_TRUE(s.waitLogged("Message larger than 10000 bytes refused"));
    EXPECT_EQ(dataFiles(), std::vector<std::string>{});
    EXPECT_EQ(RunCommand("ls data_*.tmp 2>/dev/null | wc -l").output, "0\n");
}

TEST(MessageStore, AFullDiskIsReportedAndNoPartialFileStays) {
    // Body: one line of 48,000 characters, which wrapping makes longer
    // than the limit while the spooled message fits it.
    const std::string body = "Subject: Full\r\n\r\n" + std::string(48000, 'x') + "\r\n.\r\n";
    for (rlim_t limit : {rlim_t{20000}, rlim_t{49000}}) {
        NetFixture s;
        s.startServices();
        Transfer t(s, s.pump());
        std::string reply;
        {
            FileSizeLimit full(limit);
            reply = t.send({body});
        }
        EXPECT_EQ(reply, "452  Requested action not taken: insufficient system storage\r\n") << limit;
        EXPECT_EQ(dataFiles(), std::vector<std::string>{}) << limit;
        EXPECT_EQ(RunCommand("ls data_*.tmp 2>/dev/null | wc -l").output, "0\n");
        std::vector<std::string> messages = s.logMessages();
        auto reported = std::find_if(messages.begin(), messages.end(), [&](const std::string& message) {
            return limit < 30000 ? message == "Unable to write temp data file"
                                 : message.substr(0, 22) == "Unable to write data\\E" &&
                                       message.substr(message.size() - 12) == " output file";
        });
        EXPECT_NE(reported, messages.end()) << ::testing::PrintToString(messages);
    }
}
