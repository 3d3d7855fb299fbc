// The network services against faults: a disk that fills up after a message
// was stored.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "support/MailClient.h"
#include "support/NetFixture.h"
#include "support/StoredFiles.h"

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
        const std::string first = ReadBinaryFile("data/First.txt");
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
