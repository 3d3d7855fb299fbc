#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/HeadlessMessageBox.h"
#include "platform/ProcessStart.h"
#include "platform/QtEventPump.h"
#include "platform/QtWindowTimers.h"
#include "support/StationFixture.h"

TEST(QtEventPump, RunsPendingEventsOnTheWindowThreadAndReturns) {
    QtEventPump pump;
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    pump.pumpMessages();
    EXPECT_EQ(ran, 1);
    pump.pumpMessages();
    EXPECT_EQ(ran, 1);
}

TEST(QtEventPump, OtherThreadsOnlyRest) {
    QtEventPump pump;
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    std::thread([&] { pump.pumpMessages(); pump.pumpUntilEvent(); }).join();
    EXPECT_EQ(ran, 0) << "window events belong to the window thread";
    pump.pumpMessages();
    EXPECT_EQ(ran, 1);
}

TEST(QtWindowTimers, TheMorseTickDrivesWaitTicks) {
    ProgramState state;
    QtEventPump pump;
    Waits waits(pump, state.timerTick, state.morseTick);
    QtWindowTimers timers;
    timers.setHandler([&](int id) {
        if (id == kMorseTimerId) ++state.morseTick;
    });
    ASSERT_TRUE(timers.start(kMorseTimerId, kMorseTimerPeriodMs));
    EXPECT_TRUE(timers.running(kMorseTimerId));
    auto start = std::chrono::steady_clock::now();
    waits.WaitTicks(5);
    auto elapsed = std::chrono::steady_clock::now() - start;
    timers.stop(kMorseTimerId);
    EXPECT_FALSE(timers.running(kMorseTimerId));
    EXPECT_GE(elapsed, std::chrono::milliseconds(40)) << "five ticks of 10 ms";
    EXPECT_EQ(kMorseTimerPeriodMs, 10);
}

TEST(HeadlessMessageBox, WritesToStandardErrorAndTakesTheDefault) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(HeadlessMessageBox("              Are you sure?", "Closing Tarvik Application", MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(HeadlessMessageBox("Cannot open LOG file,check for LOG directory.", "Log Create Error",
                                 MessageButtons::Ok),
              MessageAnswer::Ok);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("Closing Tarvik Application"), std::string::npos);
    EXPECT_NE(written.find("Cannot open LOG file,check for LOG directory."), std::string::npos);
}

// A stand-in xdg-open on PATH records what it was asked to open.
TEST(TextEditor, ViewLogOpensTodaysFileDetached) {
    StationFixture s;
    std::string bin = s.dir.path() + "/bin";
    ::mkdir(bin.c_str(), 0777);
    WriteBinaryFile(bin + "/xdg-open", "#!/bin/sh\necho \"$1\" > " + s.dir.path() + "/opened\n");
    ::chmod((bin + "/xdg-open").c_str(), 0755);
    std::string oldPath = std::getenv("PATH");
    ::setenv("PATH", (bin + ":" + oldPath).c_str(), 1);

    s.clock.setLocal(2026, 12, 9, 8, 0, 0);
    s.log.ViewLog();
    std::string opened;
    for (int i = 0; i < 200 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        opened = ReadBinaryFile(s.dir.path() + "/opened");
    }
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(opened, "log/20261209.log\n");
}
