#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/EditorFixture.h"
#include "platform/FileSystem.h"

using ::testing::ElementsAre;
using ::testing::SizeIs;
using ::testing::StartsWith;
using namespace EditorId;

namespace {

struct NewsAndWeather : EditorFixture {
    NewsAndWeather() {
        writeData("NEWS.TXT", std::string(1000, 'n'));
        writeData("WX.TXT", std::string(500, 'w'));
        writeSchedule("NEWS.TXT\r\nWX.TXT\r\n");
        open();
    }
};

}  // namespace

TEST(ScheduleEditor, FirstShowingLoadsTheListAndSetsUpTheView) {
    NewsAndWeather f;
    EXPECT_THAT(f.entries(), SizeIs(2));
    EXPECT_EQ(f.state.editorReload, 0);
    EXPECT_EQ(f.editor.workPath(), "data\\schedule.tmp");
    EXPECT_EQ(f.window.text(Filter), "*.txt");
    EXPECT_EQ(f.surface.sliderMinimum, 0);
    EXPECT_EQ(f.surface.sliderMaximum, 500);
    EXPECT_EQ(f.surface.slider, 425);
    EXPECT_EQ(f.surface.rightMargin, 75);
    EXPECT_EQ(f.surface.restores, 1);
    EXPECT_EQ(f.window.text(FileName), "");

    f.state.spacedCallSign = "N 0 C A L L";
    f.editor.SetTitle();
    EXPECT_EQ(f.window.text(WindowTitle), "Tarvik Editor" + std::string(44, ' ') + "N 0 C A L L");
}

TEST(ScheduleEditor, InsertPutsTheEntryBeforeTheSelectedLineThroughTheWorkingCopy) {
    struct Case { bool autoTime; int selected; std::string date, time, saved; };
    for (const Case& c : {
             Case{false, 1, "12/10/2026", "08:00:00", "NEWS.TXT\r\n12/10/2026\t08:00:00\tthefox.txt\r\nWX.TXT\r\n"},
             Case{false, -1, "", "", "thefox.txt\r\nNEWS.TXT\r\nWX.TXT\r\n"},
             // With Auto Time the new entry is always untimed.
             Case{true, 1, "12/10/2026", "08:00:00", "NEWS.TXT\r\nthefox.txt\r\nWX.TXT\r\n"},
             Case{true, -1, "", "", "thefox.txt\r\nNEWS.TXT\r\nWX.TXT\r\n"},
         }) {
        NewsAndWeather f;
        if (c.autoTime) f.setAutoTime(true);
        if (c.selected >= 0) f.select(c.selected);
        f.type(c.date, c.time, "thefox.txt");
        f.editor.OnInsert();
        EXPECT_EQ(f.workCopy(), c.saved) << c.autoTime << c.date;
        EXPECT_EQ(f.window.text(FileChoice), "");
        EXPECT_THAT(f.entries(), SizeIs(3));
        EXPECT_EQ(f.schedule(), "NEWS.TXT\r\nWX.TXT\r\n") << "only Save writes schedule.lst";
        EXPECT_EQ(f.window.beeps(), 0);
    }
}

TEST(ScheduleEditor, InsertRefusesADateOrTimeTheScheduleCouldNotKeep) {
    for (auto [date, time] : {std::pair{"1/2/2027", "08:00:00"}, std::pair{"12/10/2026", "0800"},
                              std::pair{"", "08:00:00"}, std::pair{"12/10/2026", ""}}) {
        NewsAndWeather f;
        f.type(date, time, "thefox.txt");
        f.editor.OnInsert();
        EXPECT_EQ(f.window.beeps(), 1) << date << " " << time;
        EXPECT_EQ(f.workCopy(), "NEWS.TXT\r\nWX.TXT\r\n");
        EXPECT_EQ(f.window.text(FileChoice), "thefox.txt") << "the name stays for another try";
    }
}

TEST(ScheduleEditor, InsertBeforeALineOfFewerThanThreeWordsInsertsNothingWithoutABeep) {
    EditorFixture f;
    f.writeData("tiny.txt", "ab");
    f.writeSchedule("tiny.txt\r\n");
    f.open();
    ASSERT_THAT(f.entries(), ElementsAre(StartsWith("                      tiny.txt ")));
    f.select(0);
    f.type("", "", "NEWS.TXT");
    f.editor.OnInsert();
    EXPECT_EQ(f.workCopy(), "tiny.txt\r\n") << "a size without a duration: two words";
    EXPECT_EQ(f.window.beeps(), 0);
}

TEST(ScheduleEditor, AnEmptyListTakesAnInsertionAsItsFirstLine) {
    for (bool autoTime : {false, true}) {
        EditorFixture f;
        f.open();
        if (autoTime) f.setAutoTime(true);
        f.type("", "", "NEWS.TXT");
        f.editor.OnInsert();
        EXPECT_EQ(f.workCopy(), "NEWS.TXT\r\n") << autoTime;
        EXPECT_THAT(f.entries(), SizeIs(1));
    }
}

TEST(ScheduleEditor, InsertWithoutANameRefillsTheFileBox) {
    NewsAndWeather f;
    f.window.listReset(FileChoice);
    f.type("", "", "");
    f.editor.OnInsert();
    EXPECT_THAT(f.window.list(FileChoice), SizeIs(2 + 36));
    EXPECT_EQ(f.workCopy(), "NEWS.TXT\r\nWX.TXT\r\n");
}

TEST(ScheduleEditor, ReplaceTakesTheSelectedPlaceOrAppends) {
    struct Case { int selected; std::string date, time, workCopy; std::size_t entries; int beeps; };
    for (const Case& c : {
             Case{-1, "", "", "NEWS.TXT\r\nWX.TXT\r\nthefox.txt\r\n", 3, 0},
             Case{0, "12/10/2026", "08:00:00t", "12/10/2026\t08:00:00\tthefox.txt\r\nWX.TXT\r\n", 2, 0},
             // Refused: the selected line stays and nothing is written.
             Case{1, "12/10/2026", "8 o'clock", "", 2, 1},
         }) {
        NewsAndWeather f;
        if (c.selected >= 0) f.select(c.selected);
        f.type(c.date, c.time, "thefox.txt");
        f.editor.OnReplace();
        EXPECT_EQ(f.workCopy(), c.workCopy) << c.selected;
        EXPECT_THAT(f.entries(), SizeIs(c.entries));
        EXPECT_EQ(f.window.beeps(), c.beeps);
    }
}

TEST(ScheduleEditor, DeleteTakesTheSelectedLineAndSavesNothing) {
    NewsAndWeather f;
    f.editor.OnDelete();
    EXPECT_THAT(f.entries(), SizeIs(2)) << "nothing selected";
    f.select(0);
    f.editor.OnDelete();
    EXPECT_THAT(f.entries(), ElementsAre(StartsWith("                      WX.TXT")));
    EXPECT_EQ(f.window.listCurrent(EntryList), -1);
    EXPECT_FALSE(FileExists("data/schedule.tmp"));
    EXPECT_EQ(f.schedule(), "NEWS.TXT\r\nWX.TXT\r\n");
}

TEST(ScheduleEditor, CancelDropsChangesAndSaveAndExitKeepsThem) {
    NewsAndWeather f;
    f.select(0);
    f.editor.OnDelete();
    f.editor.OnShownOrHidden();  // shown again by the menu: the list stays as it was left
    EXPECT_THAT(f.entries(), SizeIs(1));

    f.editor.OnCancel();
    EXPECT_EQ(f.surface.hides, 1);
    EXPECT_EQ(f.state.editorReload, 1);
    f.editor.OnShownOrHidden();  // the hide reloads schedule.lst
    EXPECT_THAT(f.entries(), SizeIs(2));
    EXPECT_EQ(f.schedule(), "NEWS.TXT\r\nWX.TXT\r\n");

    f.select(1);
    f.editor.OnDelete();
    f.editor.OnSaveAndExit();
    EXPECT_EQ(f.surface.hides, 2);
    EXPECT_EQ(f.schedule(), "NEWS.TXT\r\n");
    f.editor.OnShownOrHidden();
    EXPECT_THAT(f.entries(), SizeIs(1));
}

TEST(ScheduleEditor, ChoosingALineFillsTheFieldsAndShowsItsFile) {
    EditorFixture f;
    f.writeData("NEWS.TXT", "news\r\n");
    f.writeData("WX.TXT", "weather\r\n");
    f.writeSchedule("12/10/2026\t08:00:00\tNEWS.TXT\r\nWX.TXT\r\n");
    f.open();
    f.window.checkMenuItem(EditText, true);
    f.surface.viewEditable = true;
    f.select(0);
    f.editor.OnListChoice();
    EXPECT_EQ(f.window.text(Date), "12/10/2026");
    EXPECT_EQ(f.window.text(Time), "08:00:00t");
    EXPECT_EQ(f.window.text(FileChoice), "NEWS.TXT");
    EXPECT_EQ(f.window.text(FileName), "NEWS.TXT");
    EXPECT_EQ(f.surface.viewBytes, "news\r\n");
    EXPECT_FALSE(f.window.menuItemChecked(EditText));
    EXPECT_FALSE(f.surface.viewEditable);

    f.window.listSetSelected(EntryList, 0, false);
    f.select(1);
    f.editor.OnListChoice();
    EXPECT_EQ(f.window.text(Date), "");
    EXPECT_EQ(f.window.text(Time), "");
    EXPECT_EQ(f.window.text(FileChoice), "WX.TXT");
    EXPECT_EQ(f.surface.viewBytes, "weather\r\n");

    // A line shown with its computed start leaves Date and Time alone.
    f.window.setText(Date, "kept");
    f.setAutoTime(true);
    f.select(1);
    f.editor.OnListChoice();
    EXPECT_EQ(f.window.text(Date), "kept");
    EXPECT_EQ(f.window.text(FileChoice), "WX.TXT");
}

TEST(ScheduleEditor, ChoosingAFileLeavesTheViewsWidthAsItWas) {
    NewsAndWeather f;
    f.window.checkMenuItem(EditText, true);
    f.editor.textView().OnEditToggled();
    f.surface.slider = 300;
    f.editor.textView().OnApplyWidth();
    ASSERT_EQ(f.surface.rightMargin, 200);
    f.window.setText(FileChoice, "WX.TXT");
    f.editor.OnFileChoice();
    EXPECT_EQ(f.surface.viewBytes, std::string(500, 'w'));
    EXPECT_FALSE(f.window.menuItemChecked(EditText));
    EXPECT_FALSE(f.surface.viewEditable);
    EXPECT_EQ(f.surface.rightMargin, 200);
    EXPECT_EQ(f.surface.slider, 300);

    f.select(0);
    f.editor.OnListChoice();
    EXPECT_EQ(f.surface.rightMargin, 0) << "a list line returns the view to its full width";
    EXPECT_EQ(f.surface.slider, 500);
}

TEST(ScheduleEditor, EnterShowsTheNamedFileOrBeeps) {
    NewsAndWeather f;
    f.window.setText(FileName, "gone.txt");
    f.editor.OnEnterInFileName();
    EXPECT_EQ(f.window.beeps(), 1);
    EXPECT_EQ(f.surface.viewBytes, "[PrintFile :Cannot open gone.txt input file.]");

    f.window.setText(FileChoice, "WX.TXT");
    f.window.checkMenuItem(EditText, true);
    f.editor.OnEnter();
    EXPECT_EQ(f.window.beeps(), 1);
    EXPECT_EQ(f.surface.viewBytes, std::string(500, 'w'));
    EXPECT_FALSE(f.window.menuItemChecked(EditText));

    f.window.setText(FileChoice, "$RX       // Transmitter OFF");
    f.editor.OnEnter();
    EXPECT_EQ(f.window.beeps(), 2);
}
