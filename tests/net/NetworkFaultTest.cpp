// The network services against faults: a disk that fills up after a message
// was stored, and clients that send binary bytes, NUL bytes or a megabyte
// without a line end to every port.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "support/LoopbackClient.h"
#include "support/MailClient.h"
#include "support/NetFixture.h"
#include "support/StoredFiles.h"
#include "support/TelnetUser.h"

using namespace std::chrono_literals;

namespace {

std::string queuedName(const std::string& entry) { return entry.substr(entry.rfind(' ') + 1); }

std::vector<std::string> queuedNames(NetFixture& s) {
    std::vector<std::string> names;
    for (const std::string& entry : s.queueEntries()) names.push_back(queuedName(entry));
    return names;
}

std::string deliver(NetFixture& s, const std::string& message) {
    MailClient client(s, s.smtpPort1, s.pump());
    client.envelope();
    return client.data({message});
}

}  // namespace

TEST(FaultDisk, AMessageStoredBeforeTheDiskFilledStaysWholeAndQueued) {
    struct Case {
        const char* what;
        std::string refused;
        // Bytes the list may still grow by.
        rlim_t room;
        const char* reported;
    };
    const Case cases[] = {
        {"the refused message does not fit", "Subject: Second\r\n\r\n" + std::string(20000, 'x') + "\r\n.\r\n", 100,
         "Unable to write temp data file"},
        {"the list cannot take the refused message's name", "Subject: Second\r\n\r\nshort\r\n.\r\n", 5,
         "Unable to write schedule_temp.lst file for Second.txt"},
    };
    for (const Case& c : cases) {
        NetFixture s;
        // The list keeps every message the station ever took: the largest file of a long-running station.
        std::string earlier;
        for (int i = 0; i < 150; ++i) earlier += "Old_Bulletin_" + std::to_string(1000 + i) + ".txt\r\n";
        WriteBinaryFile("data/schedule_temp.lst", earlier);
        s.startServices();
        ASSERT_EQ(deliver(s, "Subject: First\r\n\r\nstored in time\r\n.\r\n"), StoredReply("First.txt"));
        const std::string first = "Subject: First\r\n\r\r\nstored in time\r\r\nNNNN\r\r\n";
        ASSERT_EQ(ReadBinaryFile("data/First.txt"), first);
        // The list after the earlier lines, which stay as they are.
        auto listed = [&] {
            std::string list = ReadBinaryFile("data/schedule_temp.lst");
            return list.rfind(earlier, 0) == 0 ? list.substr(earlier.size()) : "earlier lines lost: " + list;
        };
        ASSERT_EQ(listed(), "First.txt\r\n");

        std::string reply;
        {
            FileSizeLimit full(FileSize("data/schedule_temp.lst") + c.room);
            reply = deliver(s, c.refused);
        }
        EXPECT_EQ(reply, kNoStorageReply) << c.what;
        EXPECT_TRUE(s.logged(c.reported)) << c.what;
        EXPECT_EQ(ReadBinaryFile("data/First.txt"), first) << c.what;
        EXPECT_EQ(listed(), "First.txt\r\n") << c.what;
        EXPECT_EQ(queuedNames(s), std::vector<std::string>{"First.txt"}) << c.what;
        std::vector<std::string> files = DataFiles();
        EXPECT_EQ(std::count(files.begin(), files.end(), "Second.txt"), 0) << c.what;

        // Room again: the next message's line follows the first one's whole.
        EXPECT_EQ(deliver(s, "Subject: Third\r\n\r\nafter the room came back\r\n.\r\n"), StoredReply("Third.txt"));
        EXPECT_EQ(listed(), "First.txt\r\nThird.txt\r\n") << c.what;
    }
}

namespace {

struct Service {
    const char* name;
    int NetFixture::*port;
    bool mail;
    // The end of what the station says before it waits for the client.
    const char* greetingEnd;
    // The session's last log line when the client is gone.
    const char* endLine;
};

const Service kServices[] = {
    {"SMTP primary", &NetFixture::smtpPort1, true, "\r\n", "Ending connection"},
    {"SMTP secondary", &NetFixture::smtpPort2, true, "\r\n", "Ending connection"},
    {"chat", &NetFixture::chatPort, false, "Name:  ", "Login Failure -- Ending connection"},
    {"admin", &NetFixture::adminPort, false, "Name:  ", "Login Failure -- Ending connection"},
};

struct Payload {
    const char* what;
    std::string bytes;
};

std::string everyByteValue() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
    return bytes;
}

const Payload kPayloads[] = {
    {"every byte value", everyByteValue()},
    {"NUL bytes", std::string(4096, '\0')},
    {"a megabyte without a line end", std::string(1 << 20, 'x')},
};

// Fewer log lines than this for one hostile client: a line per chunk or per byte would fill the disk.
constexpr std::size_t kMostLogLines = 20;

// A well-behaved client after the hostile one: greeted and served.
void expectServed(NetFixture& s, const Service& service) {
    if (service.mail) {
        MailClient next(s, s.*service.port, s.pump());
        EXPECT_EQ(next.greeting.substr(0, 4), "220 ") << service.name;
        EXPECT_NE(next.envelope().find("250 Recipient OK\r\n"), std::string::npos) << service.name;
        // Its end is logged with the same line as the hostile client's.
        const int ends = s.timesLogged(service.endLine);
        next.client.send("QUIT\r\n");
        next.client.readToEnd(s.pump());
        EXPECT_TRUE(s.time.runUntil([&] { return s.timesLogged(service.endLine) == ends + 1; }, 5s)) << service.name;
        return;
    }
    TelnetUser next(s, s.*service.port, "next");
    EXPECT_TRUE(next.listed("next")) << service.name;
    next.client.close();
    EXPECT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 0; }, 5s)) << service.name;
}

}  // namespace

TEST(FaultHostileBytes, EveryPortEndsTheSessionCleanlyAndServesTheNextClient) {
    for (const Service& service : kServices) {
        NetFixture s;
        s.startServices();
        for (const Payload& payload : kPayloads) {
            const std::string where = std::string(service.name) + ", " + payload.what;
            const std::size_t linesBefore = s.logMessages().size();
            const int endsBefore = s.timesLogged(service.endLine);
            LoopbackClient hostile(s.*service.port);
            hostile.readUntil(service.greetingEnd, s.pump());
            s.whilePumping([&] {
                hostile.send(payload.bytes);
                hostile.finishSending();
                return true;
            });
            hostile.readToEnd(s.pump());
            EXPECT_TRUE(hostile.peerClosed()) << where;
            EXPECT_TRUE(s.time.runUntil([&] { return s.timesLogged(service.endLine) == endsBefore + 1; }, 5s)) << where;
            EXPECT_LT(s.logMessages().size() - linesBefore, kMostLogLines) << where;
            expectServed(s, service);
        }
    }
}
