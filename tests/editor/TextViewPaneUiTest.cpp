#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "editor/EditorFixture.h"
#include "editor/FileChoices.h"

using ::testing::ElementsAre;
using ::testing::SizeIs;
using namespace EditorId;

namespace {

void setModified(const std::string& path, time_t when) {
    struct timeval times[2] = {{when, 0}, {when, 0}};
    ::utimes(path.c_str(), times);
}

std::vector<std::string> fileNames(FakeControls& window) {
    std::vector<std::string> names = window.list(FileChoice);
    names.resize(names.size() - 36);
    return names;
}

}  // namespace

TEST(TextViewPane, ShowFileGivesTheFileItsSendingTimeAndShowsItWhole) {
    EditorFixture f;
    f.writeData("NEWS.TXT", std::string(1000, 'n'));
    std::string big(40000, 'b');
    f.writeData("big.txt", big);
    EXPECT_FALSE(f.editor.textView().ShowFile("NEWS.TXT"));
    EXPECT_EQ(f.window.text(FileName), "NEWS.TXT");
    EXPECT_EQ(f.window.text(Duration), "   3:01");
    EXPECT_EQ(f.surface.viewBytes, std::string(1000, 'n'));
    EXPECT_FALSE(f.editor.textView().ShowFile("big.txt"));
    EXPECT_EQ(f.surface.viewBytes, big) << "a view holding part of a file would cut it short on Save";

    EXPECT_TRUE(f.editor.textView().ShowFile("gone.txt"));
    EXPECT_EQ(f.surface.viewBytes, "[PrintFile :Cannot open gone.txt input file.]");
    EXPECT_EQ(f.window.text(Duration), "");
    ::mkdir("data/folder.txt", 0777);
    EXPECT_TRUE(f.editor.textView().ShowFile("folder.txt")) << "a folder the file box offers shows no text";
    EXPECT_EQ(f.surface.viewBytes, "[PrintFile :Cannot open folder.txt input file.]");
}

TEST(TextViewPane, EditRAndClearSetMarginsSliderAndEditing) {
    EditorFixture f;
    TextViewPane& view = f.editor.textView();
    f.window.checkMenuItem(EditText, true);
    view.OnEditToggled();
    EXPECT_TRUE(f.surface.viewEditable);
    EXPECT_EQ(f.surface.rightMargin, 75);
    EXPECT_EQ(f.surface.slider, 425);

    f.surface.slider = 300;
    view.OnSliderReleased();
    EXPECT_EQ(f.surface.rightMargin, 200);
    EXPECT_EQ(f.surface.softBreakRemovals, 1);

    f.window.checkMenuItem(EditText, false);
    view.OnEditToggled();
    EXPECT_FALSE(f.surface.viewEditable);
    EXPECT_EQ(f.surface.leftMargin, 0);
    EXPECT_EQ(f.surface.rightMargin, 0);
    EXPECT_EQ(f.surface.slider, 500);
    f.surface.slider = 100;
    view.OnSliderReleased();
    EXPECT_EQ(f.surface.softBreakRemovals, 1) << "the slider alone changes nothing while not editing";

    view.OnApplyWidth();
    EXPECT_TRUE(f.window.menuItemChecked(EditText));
    EXPECT_FALSE(f.surface.viewEditable) << "R leaves the view read-only";
    EXPECT_EQ(f.surface.rightMargin, 400);

    f.writeData("NEWS.TXT", "news");
    view.ShowFile("NEWS.TXT");
    view.OnClear();
    EXPECT_EQ(f.surface.viewBytes, "");
    EXPECT_EQ(f.window.text(FileName), "");
    EXPECT_EQ(f.window.text(Duration), "");
    EXPECT_FALSE(f.window.menuItemChecked(EditText));
    EXPECT_EQ(f.surface.slider, 500);
    EXPECT_EQ(f.surface.rightMargin, 0);
}

TEST(TextViewPane, SaveWritesTheViewAndOffersTheNewFile) {
    EditorFixture f;
    f.open();
    f.window.setText(FileName, "bulletin.txt");
    f.surface.viewBytes = "line one\r\r\nwrapped\r\nend";
    f.editor.textView().OnSave();
    EXPECT_EQ(ReadBinaryFile("data/bulletin.txt"), "line one\r\r\nwrapped\r\nend");
    EXPECT_THAT(fileNames(f.window), ElementsAre("bulletin.txt"));
    EXPECT_TRUE(f.window.boxes().empty());
}

TEST(TextViewPane, ASaveThatFailsSaysSoAndKeepsTheText) {
    EditorFixture f;
    f.window.setText(FileName, "no/such/folder.txt");
    f.surface.viewBytes = "the operator's work";
    f.editor.textView().OnSave();
    ASSERT_EQ(f.window.boxes().size(), 1u);
    EXPECT_EQ(f.window.boxes()[0].text, "CmEditSave : Cannot open <data\\no/such/folder.txt> file");
    EXPECT_EQ(f.surface.viewBytes, "the operator's work");
}

TEST(FileChoices, DataFilesSortedThenTheScriptCommands) {
    EditorFixture f;
    f.state.cwIdScriptLine = "$CWID     // DE N0CALL";
    for (const char* name : {"b.txt", "A.TXT", "c.TXT", ".hidden.txt", "notes.doc", "two words.txt"}) f.writeData(name, "x");
    ::mkdir("data/folder.txt", 0777);
    f.window.setText(Filter, "*.txt");
    FileChoices(f.state, f.window).RebuildFileChoices();
    std::vector<std::string> all = f.window.list(FileChoice);
    ASSERT_THAT(all, SizeIs(5 + 36));
    EXPECT_THAT(fileNames(f.window), ElementsAre("A.TXT", "b.txt", "c.TXT", "folder.txt", "two words.txt"))
        << "folders that match are offered too";
    EXPECT_EQ(all[5], "$-- --------------------------------------");
    EXPECT_EQ(all[5 + 12], "$CWID     // DE N0CALL");
    EXPECT_EQ(all.back(), "$F1900    // PSK Freq = 1900");

    f.window.checkMenuItem(SortByDate, true);
    setModified("data/A.TXT", 1700000000);
    setModified("data/b.txt", 1800000000);
    setModified("data/c.TXT", 1750000000);
    setModified("data/folder.txt", 1720000000);
    setModified("data/two words.txt", 1600000000);
    FileChoices(f.state, f.window).RebuildFileChoices();
    EXPECT_THAT(fileNames(f.window), ElementsAre("b.txt", "c.TXT", "folder.txt", "A.TXT", "two"))
        << "sorted by date, each entry keeps only the name's first word";

    f.window.setText(FileChoice, "typed");
    f.window.setText(Filter, "*.wav");
    FileChoices(f.state, f.window).RebuildFileChoices();
    EXPECT_THAT(f.window.list(FileChoice), SizeIs(36));
    EXPECT_EQ(f.window.text(FileChoice), "$ ***** No Files Found *****");
    EXPECT_EQ(f.window.text(FileChoice), "$ ***** No Files Found *****");
}
