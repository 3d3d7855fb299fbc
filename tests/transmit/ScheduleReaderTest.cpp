#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "support/TransmitFixture.h"
#include "transmit/TimeTag.h"


TEST(TimeTag, ParsesAndFormatsQueueEntries) {
    std::time_t when = LocalTime(2026, 12, 9, 14, 5, 9);
    EXPECT_EQ(FormatQueueEntry(when, "news.txt"), "12/09/2026 14:05:09 news.txt");
    EXPECT_EQ(ParseTimeTag("12/09/2026 14:05:09 news.txt"), std::optional<int64_t>(when));
    EXPECT_EQ(ParseTimeTag("12/9/2026 14:5:9"), std::optional<int64_t>(when));
    EXPECT_EQ(ParseTimeTag(""), std::optional<int64_t>(0));
    for (const char* bad : {"news.txt", "12/09/2026 noon x", "13/01/2026 00:00:00 x", "12/09 10:00:00 x"})
        EXPECT_FALSE(ParseTimeTag(bad).has_value()) << bad;
}

TEST(ScheduleReader, UntimedEntriesFollowAtEstimatedIntervals) {
    TransmitFixture s;
    s.writeData("a.txt", std::string(100, 'a'));
    s.writeData("b.txt", std::string(200, 'b'));
    s.writeData("c.txt", std::string(300, 'c'));
    WriteBinaryFile("data/schedule.lst", "a.txt\r\nb.txt\r\nc.txt\r\n");
    std::time_t t = s.clock.nowSeconds();
    s.station.schedule.GetSchedule("data\\schedule.lst");
    EXPECT_EQ(s.window.list(Id::QueueList),
              (std::vector<std::string>{FormatQueueEntry(t + 10, "a.txt"), FormatQueueEntry(t + 26, "b.txt"),
                                        FormatQueueEntry(t + 59, "c.txt")}));
}

TEST(ScheduleReader, ExpiredTagsDropTheirLineAndTheUntimedOneAfter) {
    TransmitFixture s;
    WriteBinaryFile("data/schedule.lst",
                    "12/09/2026 09:00:00 old.txt\r\nafter.txt\r\ntwo words\r\n\r\n" + std::string(1, '\0') +
                        "nul.txt\r\n12/09/2026 11:00:00\tlater.txt\textra\r\n12/09/2026 noon bad.txt\r\n");
    s.station.schedule.GetSchedule("data\\schedule.lst");
    EXPECT_EQ(s.window.list(Id::QueueList), std::vector<std::string>{"12/09/2026 11:00:00 later.txt extra"});
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"GetSchedule : Expired time tag 12/09/2026 09:00:00 old.txt",
                                                         "GetSchedule : Expired time tag after.txt",
                                                         "GetSchedule : Expired time tag 12/09/2026 noon bad.txt"}));
}

TEST(ScheduleReader, BaudLinesSetTheEstimateSpeedLongestFirst) {
    TransmitFixture s;
    WriteBinaryFile("data/schedule.lst", "$B56000\r\n");
    s.station.schedule.GetSchedule("data\\schedule.lst");
    EXPECT_FLOAT_EQ(s.state.scheduleBaud, 56000.0f);
    WriteBinaryFile("data/schedule.lst", "$b56\r\n");
    s.station.schedule.GetSchedule("data\\schedule.lst");
    EXPECT_FLOAT_EQ(s.state.scheduleBaud, 56.9f);
    EXPECT_FLOAT_EQ(s.state.scheduleCharTime, 7.5f / 56.9f);
    s.state.MODE = kModeAscii;
    s.station.schedule.GetSchedule("data\\schedule.lst");
    EXPECT_FLOAT_EQ(s.state.scheduleCharTime, 10.0f / 56.9f);
}

TEST(ScheduleReader, ReloadReadsTheTempListFirstAndLogsMissingFiles) {
    TransmitFixture s;
    s.state.scheduleListPath = "data\\schedule.lst";
    s.state.scheduleTempPath = "data\\schedule_temp.lst";
    s.state.transferCancel = 1;
    s.station.schedule.AppendScheduleTemp("mail.txt");
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "mail.txt\r\n");
    s.station.schedule.OnReload();
    EXPECT_EQ(s.state.transferCancel, 0);
    ASSERT_EQ(s.window.listCount(Id::QueueList), 1);
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"OnReload : Reloading Schedule List",
                                                         "GetSchedule : Cannot open data\\schedule.lst input file."}));
    s.state.KOVAAutoStart = 1;
    s.station.schedule.OnReload();
    EXPECT_EQ(s.window.listCount(Id::QueueList), 0) << "autostart reads no lists";

    s.state.KOVADataPath = "missing\\";
    s.station.schedule.AppendScheduleTemp("lost.txt");
    EXPECT_EQ(s.logMessages().back(), "Unable to open schedule_temp.lst file for lost.txt");
}
