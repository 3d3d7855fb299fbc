#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "app/CommandIds.h"
#include "support/TransmitFixture.h"
#include "transmit/TimeTag.h"

using namespace std::chrono_literals;

namespace {

struct CycleFixture : TransmitFixture {
    CycleFixture() { station.session.CmEnable(); }
    void queueAt(std::time_t when, const std::string& name) { station.queue.append(FormatQueueEntry(when, name)); }
    std::vector<std::string> countDowns;
};

}  // namespace

TEST(TransmitCycle, TheClockTickShowsTheTimeAndCountsTicks) {
    TransmitFixture s;
    s.clock.setLocal(2001, 5, 5, 12, 35, 6);
    s.state.timerTick = 0;
    s.time.runFor(1000ms);
    EXPECT_EQ(s.state.timerTick, 1);
    EXPECT_EQ(s.window.text(Id::ClockText), "Sat May 05 12:35:07 2001");
}

TEST(TransmitCycle, NoTimerToBeHadIsFatal) {
    TransmitFixture s;
    s.time.refuseTimers = true;
    s.station.timerControl.OnTimer(TimerControl::kStartClock);
    EXPECT_EQ(s.exits, std::vector<int>{0});
    EXPECT_EQ(s.logMessages().back(), "OnTimer : Out of Timers - Fatal Abort - Exiting");
}

TEST(TransmitCycle, ACountFallsToZeroAndTheEntryIsSent) {
    CycleFixture s;
    s.state.checkNoTimer = 0;
    s.writeData("news.txt", "HI");
    s.queueAt(s.clock.nowSeconds() + 60, "news.txt");
    s.time.everyPump = [&] {
        std::string shown = s.window.text(Id::CountDown);
        if (!shown.empty() && (s.countDowns.empty() || s.countDowns.back() != shown)) s.countDowns.push_back(shown);
    };
    ASSERT_TRUE(s.time.runUntil([&] { return s.logged("File <news.txt> in TRANSMIT Queue."); }, 70s));
    ASSERT_GE(s.countDowns.size(), 55u);
    EXPECT_EQ(s.countDowns.front(), "59");
    EXPECT_EQ(s.countDowns.back(), "1");
    EXPECT_EQ(s.window.listCount(Id::QueueList), 0);
}

TEST(TransmitCycle, ANameOnlyEntryIsNeverDue) {
    CycleFixture s;
    s.station.queue.append("orphan.txt");
    s.time.runFor(5s);
    EXPECT_EQ(s.window.listCount(Id::QueueList), 1);
    EXPECT_FALSE(s.logged("File <orphan.txt> in TRANSMIT Queue."));
}

TEST(TransmitCycle, AScriptEntryRunsWithoutFileLogs) {
    CycleFixture s;
    s.station.transmitter.CmTX();
    s.queueAt(s.clock.nowSeconds(), "$RX");
    ASSERT_TRUE(s.time.runUntil([&] { return s.state.transmitOn == 0; }, 10s));
    for (const std::string& line : s.logMessages()) EXPECT_EQ(line.find("TRANSMIT Queue"), std::string::npos) << line;
    EXPECT_TRUE(s.logged("CmRX : Transmitter OFF"));
}

TEST(TransmitCycle, AnEmptyQueueDisablesTheSchedulerOnceAndLeavesTheTransmitterOn) {
    CycleFixture s;
    s.station.transmitter.CmTX();
    s.time.runFor(5s);
    int empties = 0;
    for (const std::string& line : s.logMessages()) empties += line == "Queue Empty: Nothing to Send.";
    EXPECT_EQ(empties, 1);
    EXPECT_EQ(s.state.scheduleEnable, 0);
    EXPECT_EQ(s.state.transmitOn, 1);
    EXPECT_EQ(s.window.text(Id::SchedulerState), "DISABLED");
}

TEST(TransmitCycle, AutostartEnablesTheSchedulerAndSwitchesOffAfterEachFile) {
    TransmitFixture s;
    s.state.KOVAAutoStart = 1;
    s.writeData("a.txt", "A");
    s.time.runFor(1500ms);
    EXPECT_EQ(s.window.text(Id::SchedulerState), "AutoWait");
    s.station.queue.append(FormatQueueEntry(s.clock.nowSeconds(), "a.txt"));
    ASSERT_TRUE(s.time.runUntil([&] { return s.logged("Completed sending <a.txt>."); }, 60s));
    EXPECT_TRUE(s.logged("CmEnable : Scheduler ENABLED"));
    EXPECT_EQ(s.state.transmitOn, 0);
    auto tail = s.logMessagesFrom("Completed sending <a.txt>.");
    EXPECT_FALSE(tail.empty());
}

TEST(TransmitQueue, AddFileGoesBeforeTheSelectionTenSecondsEarlier) {
    TransmitFixture s;
    std::time_t t = s.clock.nowSeconds();
    s.station.queue.append(FormatQueueEntry(t + 100, "first.txt"));
    s.station.queue.append(FormatQueueEntry(t + 200, "second.txt"));
    s.window.listSetCurrent(Id::QueueList, 1);
    s.window.setText(Id::FileBox, "new.txt");
    s.station.queue.AddFile();
    EXPECT_EQ(s.window.list(Id::QueueList),
              (std::vector<std::string>{FormatQueueEntry(t + 100, "first.txt"), FormatQueueEntry(t + 190, "new.txt"),
                                        FormatQueueEntry(t + 200, "second.txt")}));
    EXPECT_EQ(s.window.text(Id::FileBox), "");

    s.station.queue.ClearQueue();
    s.window.setText(Id::FileBox, "alone.txt");
    s.station.queue.AddFile();
    EXPECT_EQ(s.window.list(Id::QueueList), std::vector<std::string>{FormatQueueEntry(t, "alone.txt")});
}

TEST(TransmitQueue, RemoveAndMoveToTopKeepTheOrder) {
    TransmitFixture s;
    for (const char* name : {"a", "b", "c", "d", "e"}) s.station.queue.append(name);
    s.window.listSetSelected(Id::QueueList, 1, true);
    s.window.listSetSelected(Id::QueueList, 3, true);
    s.station.queue.MoveSelectedToTop();
    EXPECT_EQ(s.window.list(Id::QueueList), (std::vector<std::string>{"b", "d", "a", "c", "e"}));
    EXPECT_FALSE(s.window.listIsSelected(Id::QueueList, 0));
    s.window.listSetSelected(Id::QueueList, 0, true);
    s.window.listSetSelected(Id::QueueList, 4, true);
    s.station.queue.RemoveSelected();
    EXPECT_EQ(s.window.list(Id::QueueList), (std::vector<std::string>{"d", "a", "c"}));
}

TEST(TransmitQueue, TheFileChooserListsNewestFirstThenScriptCommands) {
    TransmitFixture s;
    s.state.cwIdScriptLine = "$CWID     // de N0CALL N0CALL ";
    s.writeData("older.txt", "o");
    s.writeData("newer.txt", "n");
    s.writeData(".hidden", "h");
    s.writeData("two words.txt", "w");
    struct timespec old[2] = {{0, 0}, {1500000000, 0}};
    struct timespec young[2] = {{0, 0}, {1700000000, 0}};
    struct timespec mid[2] = {{0, 0}, {1600000000, 0}};
    ::utimensat(AT_FDCWD, "data/older.txt", old, 0);
    ::utimensat(AT_FDCWD, "data/newer.txt", young, 0);
    ::utimensat(AT_FDCWD, "data/two words.txt", mid, 0);
    ::utimensat(AT_FDCWD, "data", old, 0);
    s.station.queue.RefillFileChooser();
    auto items = s.window.list(Id::FileBox);
    ASSERT_EQ(items.size(), 3u + 34u);
    EXPECT_EQ(items[0], "newer.txt");
    EXPECT_EQ(items[1], "two") << "a name with a blank is listed up to the blank";
    EXPECT_EQ(items[2], "older.txt");
    EXPECT_EQ(items[3], "$-- --------------------------------------");
    EXPECT_EQ(items[3 + 12], "$CWID     // de N0CALL N0CALL ");
    EXPECT_EQ(items.back(), "$F1700    // PSK Freq = 1700");
}

TEST(TransmitQueue, AddMultipleFilesCopiesWithItsThreeRefusals) {
    TransmitFixture s;
    WriteBinaryFile("my news.txt", "news");
    WriteBinaryFile("data/taken.txt", "already");
    WriteBinaryFile("taken.txt", "other");
    s.station.queue.AddMultipleFiles({s.dir.path() + "/my news.txt", s.dir.path() + "/taken.txt",
                                      s.dir.path() + "/absent.txt"});
    EXPECT_EQ(ReadBinaryFile("data/my_news.txt"), "news");
    EXPECT_EQ(ReadBinaryFile("data/taken.txt"), "already");
    ASSERT_EQ(s.window.listCount(Id::QueueList), 1);
    EXPECT_NE(s.window.listItem(Id::QueueList, 0).find(" my_news.txt"), std::string::npos);
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"Filename data\\taken.txt already exists, won't copy",
                                                         "Filename " + s.dir.path() + "/absent.txt can't open read"}));
    s.state.KOVADataPath = "nowhere\\";
    s.station.queue.AddMultipleFiles({s.dir.path() + "/taken.txt"});
    EXPECT_EQ(s.logMessages().back(), "Filename nowhere\\taken.txt can't open write");
}
