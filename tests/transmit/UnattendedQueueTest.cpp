// A schedule worked through unattended: the queue filled from schedule.lst,
// the scheduler enabled, and a framed file sent on a pseudo-terminal.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "app/CommandIds.h"
#include "platform/FileSystem.h"
#include "support/CodingFixture.h"
#include "support/TransmitFixture.h"

using namespace std::chrono_literals;

namespace {

constexpr char LTRS = 31;


}  // namespace

TEST(UnattendedQueue, AScheduledFileGoesOutFramedInMilitary) {
    TransmitFixture s;
    s.state.TxLine = Id::TxLineRts;
    s.openPort();
    ::mkdir("data/approvedmoderatedwords", 0777);
    s.state.scheduleListPath = "data\\schedule.lst";
    s.state.scheduleTempPath = "data\\schedule_temp.lst";
    s.state.headerEnable = 1;
    s.writeData("header.txt", "ZCZC\r\n");
    s.writeData("news.txt", "HI 5\r\n");
    s.writeData("footer.txt", "NNNN\r\n");
    WriteBinaryFile("data/schedule.lst", "12/09/2026 10:00:30 news.txt\r\n12/09/2026 10:00:40 $RX\r\n");

    s.station.schedule.OnReload();
    s.station.session.CmEnable();
    ASSERT_TRUE(s.time.runUntil([&] { return s.logged("CmRX : Transmitter OFF"); }, 120s));

    const std::string expected = {17, 14, 17, 14, 8, 8, 2, LTRS, 20, 6, 4, 27, 16, 8, 8, 2, LTRS, 12, 12, 12, 12, 8, 8, 2};
    EXPECT_EQ(WithoutIdleRuns(s.air), expected);
    EXPECT_GT(s.air.find_first_not_of(LTRS), 100u) << "seven seconds of letters shifts lead in";

    EXPECT_EQ(s.logMessagesFrom("File <news.txt> in TRANSMIT Queue."),
              (std::vector<std::string>{"File <news.txt> in TRANSMIT Queue.", "CmTX : Transmitter ON",
                                        "TXFile : Sending file <header.txt>.", "TXFile : Sending file <news.txt>.",
                                        "TXFile : Sending file <footer.txt>.", "Completed sending <news.txt>.",
                                        "CmRX : Transmitter OFF", "CmDisable : Scheduler DISABLED",
                                        "Queue Empty: Nothing to Send."}));
    EXPECT_EQ(s.driver.takeEvents(), (std::vector<std::string>{"RTS+", "RTS-"}));
    EXPECT_EQ(s.state.localLock, 0);
    EXPECT_EQ(s.state.notSending, 1);
}

TEST(UnattendedQueue, AMissingQueueFileIsLoggedAndTheCycleGoesOn) {
    TransmitFixture s;
    s.writeData("there.txt", "X");
    s.station.queue.append("12/09/2026 10:00:00 missing.txt");
    s.station.queue.append("12/09/2026 10:00:00 there.txt");
    s.station.session.CmEnable();
    ASSERT_TRUE(s.time.runUntil([&] { return s.logged("Completed sending <there.txt>."); }, 120s));
    EXPECT_TRUE(s.logged("SendAbort : File <missing.txt> could not be opened."));
}

// Mend: a queue entry naming a folder (the file box lists badwords) was framed
// and "sent": the transmitter keyed for the idle codes, header and footer.
TEST(UnattendedQueue, AFolderOrAPipeInTheQueueIsRefusedAndNothingIsKeyed) {
    TransmitFixture s;
    s.state.TxLine = Id::TxLineRts;
    s.openPort();
    ::mkdir("data/badwords", 0777);
    ::mkfifo("data/pipe", 0666);
    s.writeData("secret.txt", "X");
    ::chmod("data/secret.txt", 0);
    std::vector<std::string> refused = {"badwords", "pipe"};
    // Root reads every file whatever its mode.
    if (::geteuid() != 0) refused.push_back("secret.txt");
    for (const std::string& name : refused) s.station.queue.append("12/09/2026 10:00:00 " + name);
    s.station.session.CmEnable();
    ASSERT_TRUE(s.time.runUntil([&] { return s.logged("Completed sending <" + refused.back() + ">."); }, 120s));
    for (const std::string& name : refused)
        EXPECT_TRUE(s.logged("SendAbort : File <" + name + "> could not be opened.")) << name;
    EXPECT_FALSE(s.logged("CmTX : Transmitter ON"));
    EXPECT_TRUE(s.driver.takeEvents().empty()) << "the transmit line never keyed";
    EXPECT_EQ(s.air, "");
}

TEST(UnattendedQueue, ApprovedMessagesAreSweptIntoTheQueueAfterAFile) {
    TransmitFixture s;
    s.state.scheduleTempPath = "data\\schedule_temp.lst";
    ::mkdir("data/approvedmoderatedwords", 0777);
    s.writeData("a.txt", "A");
    s.writeData("approvedmoderatedwords/ok.txt", "OK");
    s.writeData("approvedmoderatedwords/clash.txt", "new");
    s.writeData("clash.txt", "old");
    s.station.framing.SendFramed("a.txt");
    EXPECT_EQ(ReadBinaryFile("data/ok.txt"), "OK");
    EXPECT_EQ(ReadBinaryFile("data/clash.txt"), "old") << "a move never replaces a file";
    EXPECT_TRUE(s.logged("Moved data\\approvedmoderatedwords\\ok.txt -> data\\ok.txt"));
    EXPECT_TRUE(s.logged("Failed to move data\\approvedmoderatedwords\\clash.txt Error: File exists"));
    ASSERT_EQ(s.window.listCount(Id::QueueList), 1);
    EXPECT_NE(s.window.listItem(Id::QueueList, 0).find(" ok.txt"), std::string::npos);
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "ok.txt\r\n");

    RemoveFile("data/approvedmoderatedwords/clash.txt");
    ::rmdir("data/approvedmoderatedwords");
    s.station.messages.SweepApprovedFolder();
    EXPECT_EQ(s.logMessages().back(),
              "Failed to open directory data\\approvedmoderatedwords\\*. Error: No such file or directory");
}

TEST(UnattendedQueue, AnApprovedMessageThatCannotBeListedWaitsForTheNextSweep) {
    TransmitFixture s;
    ::mkdir("data/approvedmoderatedwords", 0777);
    s.writeData("approvedmoderatedwords/ok.txt", "OK");
    // A folder in the list's place: no line can be appended.
    ::mkdir("data/schedule_temp.lst", 0777);
    s.station.messages.SweepApprovedFolder();
    EXPECT_TRUE(s.logged("Unable to open schedule_temp.lst file for ok.txt"));
    EXPECT_EQ(ReadBinaryFile("data/approvedmoderatedwords/ok.txt"), "OK");
    EXPECT_FALSE(FileExists("data/ok.txt"));
    EXPECT_EQ(s.window.listCount(Id::QueueList), 0);

    ::rmdir("data/schedule_temp.lst");
    s.station.messages.SweepApprovedFolder();
    EXPECT_EQ(ReadBinaryFile("data/ok.txt"), "OK");
    ASSERT_EQ(s.window.listCount(Id::QueueList), 1);
    EXPECT_NE(s.window.listItem(Id::QueueList, 0).find(" ok.txt"), std::string::npos);
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "ok.txt\r\n");
}
