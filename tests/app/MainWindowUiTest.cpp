#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/window/CAboutDlg.h"
#include "app/window/CTarvikApp.h"
#include "app/window/PaintPacer.h"
#include "support/TempDir.h"
#include "support/WindowPicture.h"

namespace {

// The whole program in a fresh working directory, started but not run.
struct ProgramFixture {
    ProgramFixture() {
        for (int n = 1; n <= 8; ++n) ::setenv(("TARVIK_COM" + std::to_string(n)).c_str(), "/dev/no-such-port", 1);
    }
    void start() {
        program = std::make_unique<CTarvikApp>();
        program->Start();
    }
    ~ProgramFixture() {
        if (program) program->Stop();
        for (int n = 1; n <= 8; ++n) ::unsetenv(("TARVIK_COM" + std::to_string(n)).c_str());
    }
    std::vector<std::string> logMessages() {
        std::vector<std::string> messages;
        Controls& window = program->window().controls();
        for (int i = 0; i < window.listCount(Id::LogList); ++i) messages.push_back(window.listItem(Id::LogList, i).substr(11));
        return messages;
    }
    Controls& controls() { return program->window().controls(); }
    TempDir dir;
    std::unique_ptr<CTarvikApp> program;
};

std::string ReadLogFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(MainWindow, StartsUpWithoutAnyFilesInTheSpecifiedOrder) {
    ProgramFixture s;
    s.start();
    std::vector<std::string> messages = s.logMessages();
    // Last, the web service on its default port (or why another test's station keeps it from listening).
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("Web service listening on http://127.0.0.1:8073/", 0) == 0 ||
                  messages.back().rfind("Web service could not listen on 127.0.0.1:8073", 0) == 0,
              true)
        << messages.back();
    messages.pop_back();
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Unable to open Input file Tarvik.ini", "***** Tarvik has been STARTED *****",
                                        "Initialization", "CmDisable : Scheduler DISABLED", "Reloading Moderated Words",
                                        "Unable to open Input file Tarvik.ini", "OnReload : Reloading Schedule List",
                                        "GetSchedule : Cannot open data\\schedule_temp.lst input file.",
                                        "GetSchedule : Cannot open data\\schedule.lst input file.",
                                        "KOVAEmailAddress overridden and changed to \"KOVA@\"",
                                        "Invalid Comport \"NULL\" requested and is not available"}));
    ProgramState& state = s.program->station().state;
    EXPECT_EQ(state.SMTP_Port_Number1, 25);
    EXPECT_EQ(state.KOVAAdminPortNumber, 2323);
    EXPECT_EQ(s.controls().text(Id::WindowTitle), "Tarvik/Chat/ADMIN" + std::string(37, ' ') + "N o n e ");
    EXPECT_TRUE(QDir("data/approvedmoderatedwords").exists());
    EXPECT_TRUE(s.controls().menuItemChecked(Id::NoTimer));
    EXPECT_TRUE(s.controls().menuItemChecked(Id::ModeMilitary));
    EXPECT_TRUE(s.controls().menuItemChecked(32865));
    EXPECT_TRUE(s.controls().menuItemChecked(Id::SoundNone));
    EXPECT_FALSE(s.controls().menuItemEnabled(Id::TxLineRts)) << "no port, no keying menus";
}

TEST(MainWindow, LogWritersNeverWaitForTheWindowAndTheListKeepsTheNewest500) {
    ProgramFixture s;
    s.start();
    // The window thread is busy (not in its event loop) while another thread writes.
    auto writer = std::async(std::launch::async, [&] {
        for (int i = 1; i <= 800; ++i) s.program->station().log.writef("writer line %d", i);
    });
    ASSERT_EQ(writer.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "a writer waited for the window";
    std::vector<std::string> messages = s.logMessages();
    ASSERT_EQ(messages.size(), 500u);
    EXPECT_EQ(messages.front(), "writer line 301");
    EXPECT_EQ(messages.back(), "writer line 800");
    EXPECT_EQ(s.controls().listCurrent(Id::LogList), 499) << "the newest line is current";
    std::string file = ReadLogFile(s.program->station().log.todaysFileName());
    EXPECT_NE(file.find("writer line 1\r\n"), std::string::npos) << "the file has every line";
    EXPECT_NE(file.find("writer line 800\r\n"), std::string::npos);
}

TEST(MainWindow, TheSchedulerStartsOnlyWithBothKeysAndNoAutostart) {
    struct Case { const char* ini; int enabled; };
    for (const Case& c : {Case{"KOVASCHEDULERENABLE=1\n", 0},
                          Case{"KOVASCHEDULERENABLE=1\nKOVASCHEDULERSTARTENABLED=1\n", 1},
                          Case{"KOVASCHEDULERENABLE=1\nKOVASCHEDULERSTARTENABLED=1\nKOVAAUTOSTART=1\n", 0}}) {
        ProgramFixture s;
        WriteBinaryFile("Tarvik.ini", c.ini);
        s.start();
        EXPECT_EQ(s.program->station().state.scheduleEnable, c.enabled) << c.ini;
    }
}

TEST(MainWindow, TheFileBoxListsTheNewestFirstThenTheScriptCommands) {
    ProgramFixture s;
    WriteBinaryFile("Tarvik.ini", "KOVACALLSIGN=\"n0call\"\n");
    s.start();
    Controls& window = s.controls();
    ASSERT_EQ(window.listCount(Id::FileBox), 3 + 34) << "the three word-list folders, then the commands";
    EXPECT_EQ(window.text(Id::FileBox), "") << "filling the list leaves the edit field empty";
    EXPECT_EQ(window.listItem(Id::FileBox, 3), "$-- --------------------------------------");
    EXPECT_EQ(window.listItem(Id::FileBox, 3 + 12), " ") << "filled before the identification line is built";
    s.program->window().dispatch(Id::RefillButton);
    EXPECT_EQ(window.listItem(Id::FileBox, 3 + 12), "$CWID     // de N0CALL N0CALL ");
}

TEST(MainWindow, MenuItemsCarryTheStationsCheckMarks) {
    ProgramFixture s;
    s.start();
    QAction* diddle = s.program->window().controls().action(Id::Diddle);
    ASSERT_NE(diddle, nullptr);
    diddle->trigger();
    EXPECT_TRUE(diddle->isChecked());
    EXPECT_EQ(s.program->station().state.diddleEnable, 1);
    diddle->trigger();
    EXPECT_FALSE(diddle->isChecked());
    s.program->window().controls().action(Id::ModeAscii)->trigger();
    EXPECT_TRUE(s.controls().menuItemChecked(Id::ModeAscii));
    EXPECT_FALSE(s.controls().menuItemChecked(Id::ModeMilitary));
    EXPECT_EQ(s.logMessages().back(), "Mode set to ASCII");
}

TEST(MainWindow, OnlyTogglesAndChoicesHaveACheckBox) {
    ProgramFixture s;
    s.start();
    Controls& window = s.controls();
    for (int toggle : {Id::Diddle, Id::Header, Id::AutoCwIdTimer, Id::Autostart, Id::NoTimer, Id::InternetLink,
                       Id::RecipientFirst, Id::ModeCw, Id::Com8, Id::BaudLast, Id::TxLineDtrXmit, Id::DovetronTeletype,
                       Id::SoundNone, Id::SoundCard4, Id::SendBreakSignal}) {
        QAction* item = s.program->window().controls().action(toggle);
        ASSERT_NE(item, nullptr) << toggle;
        EXPECT_TRUE(item->isCheckable()) << toggle;
    }
    for (int command : {Id::AddFile, Id::ReloadQueue, Id::TarvikEditor, Id::EditInitializationFile, Id::SendCwIdNow,
                        Id::SoundSetup, Id::SoundNote, Id::SendCwId, Id::ViewLog, Id::SystemAbout}) {
        QAction* item = s.program->window().controls().action(command);
        ASSERT_NE(item, nullptr) << command;
        EXPECT_FALSE(item->isCheckable()) << command;
        window.checkMenuItem(command, true);
        EXPECT_FALSE(window.menuItemChecked(command)) << command << " took a mark";
    }
}

TEST(MainWindow, EscapeBeepsAndEnterDoesNothingAndTheWindowStays) {
    ProgramFixture s;
    s.start();
    CTarvikDlg& window = s.program->window();
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.closing());
    EXPECT_EQ(window.controls().beeps(), 1);
    QWidget* queue = window.controls().widget(Id::QueueList);
    QTest::keyClick(queue, Qt::Key_Escape);
    EXPECT_EQ(window.controls().beeps(), 2) << "one beep; the key stops at the control";
    QKeyEvent breakKey(QEvent::KeyPress, Qt::Key_Cancel, Qt::NoModifier);
    QApplication::sendEvent(queue, &breakKey);
    EXPECT_EQ(window.controls().beeps(), 3) << "Break beeps as Escape does";
    EXPECT_TRUE(window.isVisible());
}

TEST(MainWindow, HasAMinimizeBoxACentredClockAndAChatListOfSeveralSelectedRows) {
    ProgramFixture s;
    s.start();
    CTarvikDlg& window = s.program->window();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    Controls& controls = s.controls();
    controls.setText(Id::ClockText, "12/10/26\r\n01:00:00");
    auto* clock = qobject_cast<QPlainTextEdit*>(window.controls().widget(Id::ClockText));
    ASSERT_NE(clock, nullptr);
    QTextLine line = clock->document()->firstBlock().layout()->lineAt(0);
    ASSERT_TRUE(line.isValid());
    EXPECT_GT(line.naturalTextRect().left(), 10.0) << "the date is centred, not at the left edge";

    for (const char* name : {"alpha", "bravo", "charlie"}) controls.rowInsert(Id::ChatUserList, -1, {name, "", "7", ""});
    auto* users = qobject_cast<QTreeWidget*>(window.controls().widget(Id::ChatUserList));
    ASSERT_NE(users, nullptr);
    QTest::mouseClick(users->viewport(), Qt::LeftButton, {}, users->visualItemRect(users->topLevelItem(2)).center());
    QTest::mouseClick(users->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      users->visualItemRect(users->topLevelItem(1)).center());
    EXPECT_EQ(users->selectedItems().size(), 2);
    EXPECT_EQ(controls.rowSelected(Id::ChatUserList), 1) << "the first selected row";
}

TEST(MainWindow, TheMenuBarShowsEveryMenuAtTheWindowsSize) {
    ProgramFixture s;
    s.start();
    auto* bar = s.program->window().findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QApplication::processEvents();
    QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.last()->text(), "Help");
    for (QAction* menu : menus) {
        if (menu->isSeparator()) continue;
        QRect place = bar->actionGeometry(menu);
        EXPECT_FALSE(place.isEmpty()) << menu->text().toStdString() << " is hidden";
        EXPECT_LE(place.right(), bar->width()) << menu->text().toStdString();
    }
    auto* chevron = bar->findChild<QToolButton*>();
    EXPECT_TRUE(chevron == nullptr || chevron->isHidden()) << "no menu behind a chevron";
}

TEST(MainWindow, TheAboutBoxIsSetInCourier) {
    CAboutDlg about({"Comport is set to NULL"}, nullptr);
    EXPECT_EQ(about.font().family(), "Courier");
    EXPECT_TRUE(QFontInfo(about.font()).fixedPitch()) << "resolved to a fixed-pitch twin";
}

TEST(MainWindow, TheCloseQuestionAnsweredNoKeepsTheStationAndYesEndsIt) {
    ProgramFixture s;
    s.start();
    CTarvikDlg& window = s.program->window();
    window.controls().setHeadlessAnswer(MessageAnswer::No);
    window.close();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.closing());
    window.controls().setHeadlessAnswer(MessageAnswer::Yes);
    window.close();
    EXPECT_TRUE(window.closing());
    for (int i = 0; i < 10 && window.isVisible(); ++i) QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    s.program->Stop();
    EXPECT_EQ(s.logMessages().back(), "***** Tarvik has been TERMINATED *****");
    s.program.reset();
}

TEST(MainWindow, ACloseDuringATransmissionCancelsItAndEndsAfterItUnwound) {
    ProgramFixture s;
    s.start();
    WriteBinaryFile("data/thefox.txt", std::string(400, 'X'));
    CTarvikDlg& window = s.program->window();
    bool closedDuringSend = false;
    QTimer::singleShot(3500, &window, [&] {
        closedDuringSend = s.program->station().state.localLock != 0;
        window.closeConfirmed();
    });
    window.dispatch(Id::SendQuickBrownFox);
    EXPECT_TRUE(closedDuringSend);
    for (int i = 0; i < 10 && window.isVisible(); ++i) QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    s.program->Stop();
    EXPECT_EQ(s.logMessages().back(), "***** Tarvik has been TERMINATED *****");
    s.program.reset();
}

TEST(MainWindow, TheScreenshotShowsTheWholeWindowWithItsControlsInPlace) {
    ProgramFixture s;
    WriteBinaryFile("Tarvik.ini", "KOVACALLSIGN=\"N0CALL\"\n");
    s.start();
    CTarvikDlg& window = s.program->window();
    QApplication::processEvents();
    QImage picture = SavedPicture(window, QStringLiteral(TARVIK_BUILD_DIR "/main-window.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), window.size());
    for (int id : {Id::EnableButton, Id::CancelButton, Id::QueueList, Id::LogList}) {
        QWidget* control = window.controls().widget(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_TRUE(PictureShows(picture, window, *control)) << id;
    }
}

TEST(MainWindow, TheEditorIsMadeOnFirstUseAndShownAgainLater) {
    ProgramFixture s;
    s.start();
    CTarvikDlg& window = s.program->window();
    window.dispatch(Id::TarvikEditor);
    QWidget* editor = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowTitle().startsWith("Tarvik Editor") && top->isVisible()) editor = top;
    ASSERT_NE(editor, nullptr);
    editor->hide();
    window.dispatch(Id::SystemScheduleEditor);
    EXPECT_TRUE(editor->isVisible()) << "the same window shown again";
}

TEST(MainWindow, OnADisplayMailPouringInIsPaintedAFrameAtATimeAndTheLastChangeStillShows) {
    QWidget window;
    auto* queue = new QListWidget(&window);
    window.resize(300, 200);
    window.show();
    PaintPacer pacer(&window, PaintPacer::kFramesOnADisplay);
    QElapsedTimer burst;
    burst.start();
    int rows = 0;
    while (burst.elapsed() < 500) {
        queue->insertItem(0, QString("12/10/2026 10:00:00 E_%1.txt").arg(rows++));
        QApplication::processEvents();
    }
    const qint64 burstMs = burst.elapsed();
    const int paintsInBurst = pacer.paintsLetThrough();
    EXPECT_GT(paintsInBurst, 0);
    // A frame is 40 ms: the burst fits that many and one it began in.
    EXPECT_LE(paintsInBurst, burstMs / 40 + 2) << rows << " rows in " << burstMs << " ms";
    // The changes held back at the burst's end are painted at the frame's end.
    QElapsedTimer after;
    after.start();
    while (pacer.paintsLetThrough() == paintsInBurst && after.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GT(pacer.paintsLetThrough(), paintsInBurst);
}

TEST(MainWindow, AHeadlessStationsWindowIsNeverPaintedButItsPictureIsDrawnAfresh) {
    ProgramFixture s;
    s.start();
    for (int row = 0; row < 200; ++row) {
        s.controls().listAdd(Id::QueueList, "12/10/2026 10:00:00 E_" + std::to_string(row) + ".txt");
        s.controls().listAppendNewest(Id::LogList, "a log line", EventLog::kListLines);
        QApplication::processEvents();
    }
    EXPECT_EQ(s.program->window().paintPacer().paintsLetThrough(), 0);
    QImage picture = s.program->window().grab().toImage();
    EXPECT_EQ(picture.size(), s.program->window().size());
    // Drawn, not left blank: the picture holds more than one colour.
    EXPECT_NE(picture.pixel(0, 0), picture.pixel(picture.width() / 2, picture.height() / 2));
}

// Each stored message selects the queue's first line before Add File, as
// mail does: the operator's next "Remove Selected Items" takes one entry,
// not every message that came in. Sessions search the queue's rows without
// the window thread; the search follows every change of the list.
TEST(MainWindow, QueuedMailLeavesOneEntrySelectedAndTheQueueFindsNamesInAnyCase) {
    ProgramFixture s;
    s.start();
    Controls& window = s.controls();
    const int before = window.listCount(Id::QueueList);
    for (const char* name : {"first.txt", "second.txt", "third.txt"}) {
        window.setText(Id::FileBox, name);
        window.listSetCurrent(Id::QueueList, 0);
        s.program->window().dispatch(Id::AddFile);
    }
    ASSERT_EQ(window.listCount(Id::QueueList), before + 3);
    int selected = 0;
    for (int i = 0; i < window.listCount(Id::QueueList); ++i) selected += window.listIsSelected(Id::QueueList, i);
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(window.listHasItemContaining(Id::QueueList, "SECOND.TXT"));
    EXPECT_FALSE(window.listHasItemContaining(Id::QueueList, "fourth.txt"));
    std::string removed;
    for (int i = 0; i < window.listCount(Id::QueueList); ++i)
        if (window.listIsSelected(Id::QueueList, i)) removed = window.listItem(Id::QueueList, i);
    removed = removed.substr(removed.rfind(' ') + 1);
    s.program->window().dispatch(Id::RemoveSelected);
    EXPECT_EQ(window.listCount(Id::QueueList), before + 2);
    EXPECT_FALSE(window.listHasItemContaining(Id::QueueList, removed)) << removed;

    // Emptied and filled again in one step of the window thread: what the
    // list held before counts until the window thread is back in its loop.
    QApplication::processEvents();
    window.listReset(Id::QueueList);
    window.listAdd(Id::QueueList, "12/10/2026 10:00:00 refilled.txt");
    EXPECT_TRUE(window.listHasItemContaining(Id::QueueList, "third.txt"));
    EXPECT_TRUE(window.listHasItemContaining(Id::QueueList, "REFILLED.TXT"));
    QApplication::processEvents();
    EXPECT_FALSE(window.listHasItemContaining(Id::QueueList, "third.txt"));
    EXPECT_TRUE(window.listHasItemContaining(Id::QueueList, "refilled.txt"));
}
