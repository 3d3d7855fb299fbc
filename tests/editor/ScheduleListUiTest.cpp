#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/ScheduleLineForm.h"
#include "editor/EditorFixture.h"

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

TEST(ScheduleListForms, DisplayLinesPutEachColumnInItsPlace) {
    EXPECT_EQ(UntimedDisplayLine(MarkName("NEWS.TXT", 1000, false), FormatDuration(165)),
              "                      NEWS.TXT                                   1000      2:45");
    EXPECT_EQ(UntimedDisplayLine(MarkName("$B50", 0, false), FormatDuration(0)),
              "                      $B50                                CMD       1          ");
    EXPECT_EQ(TimedDisplayLine("12/10/2026", "09:00:00", MarkName("gone.txt", 0, true), ""),
              "12/10/2026  09:00:00t gone.txt              ???                     0          ");
    EXPECT_EQ(FormatDuration(3725), "  62:05");
}

TEST(ScheduleListForms, SavedLinesDropMarkersSizesAndDurations) {
    struct Case { std::string shown, saved; };
    for (const Case& c : {
             Case{"                      NEWS.TXT                                   1000      2:45", "NEWS.TXT\n"},
             Case{"                      $B50                                CMD       1", "$B50\n"},
             Case{"12/10/2026  08:00:00t NEWS.TXT   1000     2:45", "12/10/2026\t08:00:00\tNEWS.TXT\n"},
             // A short time loses its marker too; so does a time chosen from the list and typed again.
             Case{"12/10/2026   9:00:00t  X.TXT", "12/10/2026\t9:00:00\tX.TXT\n"},
             Case{"12/10/2026  08:00:00tt  N.TXT", "12/10/2026\t08:00:00\tN.TXT\n"},
             Case{"12/09/2026  12:00:10  WX.TXT   500     1:22", "WX.TXT\n"},
         })
        EXPECT_EQ(ScheduleFileLine(c.shown), c.saved) << c.shown;
}

TEST(ScheduleListForms, TypedEntriesAreTimedOnlyWithAFullDateAndTime) {
    struct Case { std::string date, time; std::optional<std::string> entry; };
    for (const Case& c : {
             Case{"12/10/2026", "08:00:00", "12/10/2026  08:00:00t  N.TXT"},
             Case{"12/10/2026", "9:00:00", "12/10/2026   9:00:00t  N.TXT"},
             Case{"", "", std::string(22, ' ') + "N.TXT"},
             Case{"1/2/2027", "08:00:00", std::nullopt},
             Case{"12/10/2026", "0800", std::nullopt},
             Case{"12/10/2026", "9:00", std::nullopt},
             Case{"", "08:00:00", std::nullopt},
             Case{"12/10/2026", "", std::nullopt},
             Case{"13/45/2026", "08:00:00", std::nullopt},
         })
        EXPECT_EQ(TypedEntry(c.date, c.time, "N.TXT"), c.entry) << c.date << " " << c.time;
}

TEST(ScheduleList, NewsAndWeatherShowSizesDurationsAndWithAutoTimeTheirStarts) {
    EditorFixture f;
    f.writeData("NEWS.TXT", std::string(1000, 'n'));
    f.writeData("WX.TXT", std::string(500, 'w'));
    f.writeSchedule("NEWS.TXT\r\nWX.TXT\r\n");
    f.open();
    EXPECT_THAT(f.entries(),
                ElementsAre("                      NEWS.TXT                                   1000      2:45",
                            "                      WX.TXT                                      500      1:22"));
    EXPECT_EQ(f.state.autoTimeShown, 0);

    f.setAutoTime(true);
    EXPECT_EQ(f.state.autoTimeShown, 1);
    EXPECT_THAT(f.entries(), ElementsAre(StartsWith("12/09/2026  12:00:10  NEWS.TXT "),
                                         StartsWith("12/09/2026  12:02:55  WX.TXT ")));
    EXPECT_THAT(f.entries()[0], EndsWith("1000      2:45"));
    EXPECT_EQ(f.workCopy(), "NEWS.TXT\r\nWX.TXT\r\n");
    EXPECT_EQ(f.schedule(), "NEWS.TXT\r\nWX.TXT\r\n");
}

TEST(ScheduleList, BaudAndFrequencyLinesSetTheEditorState) {
    struct Case { int mode; std::string list; float baud; std::string newsDuration; float psk; };
    for (const Case& c : {
             Case{kModeIta2, "$B50\r\nNEWS.TXT\r\n", 50.0f, "   2:30", 1500.0f},
             Case{kModeIta2, "$b56\r\nNEWS.TXT\r\n", 56.9f, "   2:11", 1500.0f},
             Case{kModeIta2, "$B56000\r\nNEWS.TXT\r\n", 56000.0f, "", 1500.0f},
             Case{kModeIta2, "$B1920\r\nNEWS.TXT\r\n", 19200.0f, "", 1500.0f},
             Case{kModeAscii, "NEWS.TXT\r\n", 45.45f, "   3:40", 1500.0f},
             Case{kModePsk31, "NEWS.TXT\r\n$F1800\r\n", 45.45f, "   4:10", 1800.0f},
             Case{kModeIta2, "12/10/2026 08:00:00 $f2100\r\nNEWS.TXT\r\n", 45.45f, "   2:45", 2100.0f},
         }) {
        EditorFixture f;
        f.state.MODE = c.mode;
        f.writeData("NEWS.TXT", std::string(1000, 'n'));
        f.writeSchedule(c.list);
        f.open();
        EXPECT_FLOAT_EQ(f.state.editorBaud, c.baud) << c.list;
        EXPECT_FLOAT_EQ(f.state.pskFrequency, c.psk) << c.list;
        for (const std::string& entry : f.entries())
            if (entry.find("NEWS.TXT") != std::string::npos) {
                EXPECT_THAT(entry, EndsWith("1000 " + std::string(9 - c.newsDuration.size(), ' ') + c.newsDuration)) << c.list;
            }
    }
}

TEST(ScheduleList, EntriesOlderThanTwoDaysAndBrokenLinesAreDroppedOnSave) {
    EditorFixture f;
    f.writeSchedule(
        "12/06/2026\t09:00:00\told.txt\r\nafter.txt\r\n12/08/2026\t13:00:00\tyesterday.txt\r\ntwo words\r\n\r\n"
        "   \r\n12/09/2026 noon bad.txt\r\nlast.txt");
    f.open();
    EXPECT_THAT(f.entries(), ElementsAre(StartsWith("12/08/2026  13:00:00t yesterday.txt         ???"),
                                         StartsWith("                      last.txt                            ???")));
    f.editor.OnSave();
    EXPECT_EQ(f.schedule(), "12/08/2026\t13:00:00\tyesterday.txt\r\nlast.txt\r\n");
}

TEST(ScheduleList, AMissingFileShowsNoSizeWhateverTheEntryBefore) {
    EditorFixture f;
    f.writeData("NEWS.TXT", std::string(1000, 'n'));
    // An untimed entry is sized by its whole line: a blank after the name names another file.
    f.writeSchedule("12/10/2026 08:00:00 NEWS.TXT\r\n12/10/2026 09:00:00 gone.txt\r\nNEWS.TXT \r\n");
    f.open();
    EXPECT_THAT(f.entries(),
                ElementsAre("12/10/2026  08:00:00t NEWS.TXT                                   1000      2:45",
                            "12/10/2026  09:00:00t gone.txt              ???                     0          ",
                            StartsWith("                      NEWS.TXT                            ???       0")));
}

TEST(ScheduleList, AutoTimeOnAndOffLeavesTheSavedListAsItWas) {
    EditorFixture f;
    f.writeData("NEWS.TXT", std::string(1000, 'n'));
    // A name longer than a line buffer of the original stays one entry.
    const std::string list = "12/10/2026\t08:00:00\tNEWS.TXT\r\nWX.TXT\r\n$RX\r\n12/11/2026\t10:30:00\t" +
                             std::string(70, 'x') + ".txt\r\n";
    f.writeSchedule(list);
    f.open();
    f.setAutoTime(true);
    EXPECT_THAT(f.entries()[1], StartsWith("12/10/2026  08:02:45  WX.TXT"));
    f.editor.OnSave();
    EXPECT_EQ(f.schedule(), list);
    f.setAutoTime(false);
    f.editor.OnSave();
    EXPECT_EQ(f.schedule(), list);
}

TEST(ScheduleList, AListThatCannotBeReadLeavesTheListEmpty) {
    EditorFixture f;
    f.writeSchedule("NEWS.TXT\r\n");
    f.open();
    ASSERT_EQ(f.entries().size(), 1u);
    f.state.scheduleListPath = "data\\missing.lst";
    f.editor.OnCancel();
    f.editor.OnShownOrHidden();
    EXPECT_TRUE(f.entries().empty());
}
