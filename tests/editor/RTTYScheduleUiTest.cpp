#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "editor/EditorIds.h"
#include "editor/EditorTextView.h"
#include "editor/RTTYSchedule.h"
#include "editor/ScheduleEditor.h"
#include "support/FakeControls.h"
#include "support/TempDir.h"
#include "support/TestClock.h"
#include "support/TestPumps.h"
#include "support/WindowPicture.h"

using ::testing::SizeIs;
using namespace EditorId;

namespace {

struct EditorWindow {
    TempDir dir;
    ProgramState state;
    FakeControls mainWindow;
    TestClock clock;
    ScriptedPump pump;
    EventLog log{state, mainWindow, clock, pump};
    std::unique_ptr<RTTYSchedule> editor;

    EditorWindow() {
        ::mkdir("data", 0777);
        WriteBinaryFile("data/NEWS.TXT", "QST de N0CALL: the news at noon\r\n");
        WriteBinaryFile("data/WX.TXT", "Fair, light winds\r\n");
        WriteBinaryFile("data/schedule.lst", "12/10/2026\t08:00:00\tNEWS.TXT\r\nWX.TXT\r\n$RX\r\n");
        state.scheduleListPath = "data\\schedule.lst";
        state.spacedCallSign = "N 0 C A L L";
        clock.setLocal(2026, 12, 9, 12, 0, 0);
        editor = std::make_unique<RTTYSchedule>(state, log, clock);
    }

    template <typename T>
    T* control(int id) {
        return editor->findChild<T*>(QString::number(id));
    }
    EditorTextView* view() { return control<EditorTextView>(TextView); }
    std::string viewText() { return view()->toPlainText().toStdString(); }

    void press(QWidget* target, Qt::Key key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &up);
    }
};

}  // namespace

TEST(RTTYSchedule, OpensWithTheListTheTitleAndEveryControl) {
    EditorWindow w;
    EXPECT_FALSE(w.editor->isVisible()) << "created hidden";
    EXPECT_EQ(w.editor->windowTitle().toStdString(), "Tarvik Editor" + std::string(44, ' ') + "N 0 C A L L");
    w.editor->showEditor();
    ASSERT_TRUE(w.editor->isVisible());
    EXPECT_EQ(w.control<QListWidget>(EntryList)->count(), 3);
    EXPECT_EQ(w.control<QLineEdit>(Filter)->text(), "*.txt");
    EXPECT_EQ(w.control<QComboBox>(FileChoice)->count(), 2 + 36);
    for (int id : {SaveAndExit, Cancel, Delete, FileName, SaveText, Date, Time, ApplyWidth, Insert, Replace, AutoTime,
                   SaveList, Duration, ClearText, SortByDate, WidthSlider, EditText})
        EXPECT_NE(w.control<QWidget>(id), nullptr) << id;
    EXPECT_TRUE(w.view()->isReadOnly());
    EXPECT_TRUE(w.control<QLineEdit>(FileName)->isReadOnly());
    // Every control lies inside the window.
    for (QWidget* child : w.editor->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(w.editor->rect().contains(child->geometry())) << child->objectName().toStdString();
}

TEST(RTTYSchedule, EscapeDoesNotCloseItAndTheCloseBoxDropsChanges) {
    EditorWindow w;
    w.editor->showEditor();
    auto* list = w.control<QListWidget>(EntryList);
    w.press(list, Qt::Key_Escape);
    EXPECT_TRUE(w.editor->isVisible());

    list->setCurrentRow(0);
    w.control<QAbstractButton>(Delete)->click();
    EXPECT_EQ(list->count(), 2);
    w.editor->close();
    EXPECT_FALSE(w.editor->isVisible());
    EXPECT_EQ(list->count(), 3) << "hiding reloaded schedule.lst";
    EXPECT_EQ(w.state.editorReload, 0);
    w.editor->showEditor();
    EXPECT_TRUE(w.editor->isVisible());
}

TEST(RTTYSchedule, ChoosingALineOrPressingEnterShowsTheFile) {
    EditorWindow w;
    w.editor->showEditor();
    w.control<QListWidget>(EntryList)->setCurrentRow(0);
    EXPECT_EQ(w.control<QLineEdit>(Date)->text(), "12/10/2026");
    EXPECT_EQ(w.control<QLineEdit>(Time)->text(), "08:00:00t");
    EXPECT_EQ(w.viewText(), "QST de N0CALL: the news at noon\n");

    auto* box = w.control<QComboBox>(FileChoice);
    box->setEditText("WX.TXT");
    w.press(box, Qt::Key_Return);
    EXPECT_EQ(w.viewText(), "Fair, light winds\n");
    EXPECT_EQ(box->count(), 2 + 36) << "Enter adds nothing to the file box";
    box->setEditText("NEWS.TXT");
    w.press(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(w.viewText(), "QST de N0CALL: the news at noon\n") << "the box's own edit field is watched too";

    w.control<QLineEdit>(Filter)->setText("*.wav");
    box->showPopup();
    EXPECT_EQ(box->currentText(), "$ ***** No Files Found *****") << "the box says so when no file matches";
    EXPECT_EQ(box->count(), 36);
    box->hidePopup();

    w.press(w.view(), Qt::Key_Down);
    EXPECT_TRUE(box->view()->isVisible()) << "Down opens the file box from any control";
    box->hidePopup();
}

TEST(RTTYSchedule, TheViewKeepsItsLinesAsWrappedOnTheScreen) {
    EditorWindow w;
    w.editor->showEditor();
    EditorTextView* view = w.view();
    std::string words;
    for (int i = 0; i < 40; ++i) words += "word" + std::to_string(i) + " ";
    view->showBytes(words + "\r\nshort\r\n");
    view->setMargins(0, view->width() / 2);
    QApplication::processEvents();
    std::string saved = view->bytesWithSoftBreaks();
    ASSERT_NE(saved.find("\r\r\n"), std::string::npos) << saved;
    std::string joined = saved;
    for (std::size_t at; (at = joined.find("\r\r\n")) != std::string::npos;) joined.erase(at, 3);
    EXPECT_EQ(joined, words + "\r\nshort\r\n");

    // Shown again, the soft breaks stay where they were until R joins the lines.
    view->setMargins(0, 0);
    view->showBytes(saved);
    EXPECT_EQ(view->document()->blockCount(), 3);
    EXPECT_EQ(view->bytesWithSoftBreaks(), saved);
    view->removeSoftBreaks();
    EXPECT_EQ(view->document()->firstBlock().text().toStdString(), words);

    view->showBytes(std::string("latin \xe9\xe8\0after", 14));
    EXPECT_EQ(view->bytesWithSoftBreaks(), "latin \xe9\xe8");
}

TEST(RTTYSchedule, SavesAPictureOfItselfWithTheListAndButtonsInPlace) {
    EditorWindow w;
    w.editor->showEditor();
    w.control<QListWidget>(EntryList)->setCurrentRow(0);
    QApplication::processEvents();
    QImage picture = SavedPicture(*w.editor, QCoreApplication::applicationDirPath() + "/schedule-editor.png");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), w.editor->size());
    for (int id : {EntryList, Insert, SaveAndExit, ClearText}) {
        QWidget* control = w.control<QWidget>(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_TRUE(PictureShows(picture, *w.editor, *control)) << id;
    }
}
