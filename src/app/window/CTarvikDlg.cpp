#include "app/window/CTarvikDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/window/DialogFont.h"
#include "app/window/DialogUnits.h"
#include "app/window/LogListView.h"
#include "app/window/MainMenu.h"
#include "app/window/PaintPacer.h"
#include "app/window/StationIcon.h"

namespace {

// The text view keeps 25 pixels free on its right, as the station's did.
class MarginTextEdit : public QPlainTextEdit {
public:
    explicit MarginTextEdit(QWidget* parent) : QPlainTextEdit(parent) { setViewportMargins(0, 0, 25, 0); }
};

QLineEdit* stateText(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

}  // namespace

CTarvikDlg::CTarvikDlg(QWidget* parent) : QDialog(parent), controls_(std::make_unique<WidgetControls>(this)) {
    // A system menu and a minimize box, no maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Tarvik "));
    setWindowIcon(StationIcon());
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    DialogUnits units(font());
    auto* bar = new QMenuBar(this);
    // Items as narrow as the station's own menu bar had them (three dialog
    // units a side, so it holds for any size of the font), so that all
    // eleven menus fit the window's width without a chevron.
    bar->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px %1px; }")
                           .arg(units.horizontal(3)));
    BuildMainMenu(bar, *controls_, [this](int id) { dispatch(id); });
    layout->setMenuBar(bar);
    auto* client = new QWidget(this);
    client->setFixedSize(units.horizontal(351), units.vertical(354));
    layout->addWidget(client);
    buildControls(client);
    watchControls();
    paintPacer_ = new PaintPacer(this, WidgetControls::Headless() ? 0 : PaintPacer::kFramesOnADisplay);
}

CTarvikDlg::~CTarvikDlg() = default;

void CTarvikDlg::buildControls(QWidget* client) {
    DialogUnits units(font());
    auto place = [&](QWidget* widget, int id, int x, int y, int w, int h) {
        widget->setGeometry(units.rect(x, y, w, h));
        if (id != 0) controls_->bind(id, widget);
        return widget;
    };
    auto button = [&](int id, const char* text, int x, int y, int w, int h) {
        auto* push = new QPushButton(QString::fromLatin1(text), client);
        push->setAutoDefault(false);
        place(push, id, x, y, w, h);
        connect(push, &QPushButton::clicked, this, [this, id] { dispatch(id); });
        return push;
    };
    auto label = [&](const char* text, int x, int y, int w, int h) {
        place(new QLabel(QString::fromLatin1(text), client), 0, x, y, w, h);
    };
    auto group = [&](int id, const char* text, int x, int y, int w, int h) {
        place(new QGroupBox(QString::fromLatin1(text), client), id, x, y, w, h)->lower();
    };

    fileBox_ = new QComboBox(client);
    fileBox_->setEditable(true);
    fileBox_->setInsertPolicy(QComboBox::NoInsert);
    place(fileBox_, Id::FileBox, 6, 4, 325, 12);
    controls_->setSorted(Id::FileBox);
    button(Id::RefillButton, "R", 334, 4, 10, 12);
    queue_ = new QListWidget(client);
    queue_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    queue_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // One line of text a row: a new entry never lays out the ones there.
    queue_->setUniformItemSizes(true);
    place(queue_, Id::QueueList, 6, 18, 339, 79);
    controls_->mirrorRows(Id::QueueList);

    group(0, "Status", 6, 98, 181, 84);
    label("CWId", 19, 106, 17, 8);
    place(stateText(client), Id::CwIdCount, 12, 115, 33, 12);
    label("SendQueue", 10, 130, 37, 10);
    place(stateText(client), Id::SendQueueCount, 11, 140, 33, 12);
    label("CountDown", 9, 154, 38, 9);
    place(stateText(client), Id::CountDown, 12, 165, 33, 12);
    auto* users = new QTreeWidget(client);
    users->setHeaderLabels({"Chat User", "Login Time", "PID", "IP Address"});
    users->setRootIsDecorated(false);
    users->setSelectionMode(QAbstractItemView::ExtendedSelection);
    int widths[] = {120, 140, 60, 130};
    for (int column = 0; column < 4; ++column) users->setColumnWidth(column, widths[column]);
    place(users, Id::ChatUserList, 48, 106, 135, 56);
    connect(users, &QTreeWidget::itemClicked, this, [this] {
        if (commands_) commands_->ChatUserListClicked(false);
    });
    users->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(users, &QTreeWidget::customContextMenuRequested, this, [this] {
        if (commands_) commands_->ChatUserListClicked(true);
    });
    button(Id::KillButton, "Kill", 94, 165, 25, 14)->setEnabled(false);

    group(1049, "Schedule", 191, 98, 49, 66);
    place(stateText(client), Id::SchedulerState, 195, 109, 40, 12);
    button(Id::EnableButton, "Enable", 195, 126, 41, 14);
    button(Id::DisableButton, "Disable", 195, 144, 41, 14);
    group(1034, "Transmit", 244, 98, 49, 67);
    place(stateText(client), Id::TransmitState, 248, 109, 38, 12);
    button(Id::OnButton, "ON", 248, 126, 41, 14);
    button(Id::OffButton, "OFF", 248, 144, 41, 14);
    group(1035, "Flow", 296, 98, 49, 84);
    place(stateText(client), Id::SessionState, 301, 109, 38, 13);
    button(Id::PauseButton, "Pause", 300, 126, 41, 14);
    button(Id::ResumeButton, "Resume", 300, 144, 41, 14);
    button(Id::CancelButton, "CANCEL", 300, 162, 41, 14);

    auto* clock = new QPlainTextEdit(client);
    clock->setReadOnly(true);
    clock->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTextOption centred = clock->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    clock->document()->setDefaultTextOption(centred);
    place(clock, Id::ClockText, 216, 166, 57, 18);
    auto* name = new QLineEdit(client);
    name->setReadOnly(true);
    place(name, Id::FileName, 6, 187, 339, 12);
    auto* view = new MarginTextEdit(client);
    view->setReadOnly(true);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(view, Id::TextView, 6, 204, 339, 67);
    label("      1         2         3         4         5         6         7         8", 20, 272, 323, 8);
    label("12345678901234567890123456789012345678901234567890123456789012345678901234567890", 8, 279, 325, 10);
    auto* log = new LogListView(client);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(log, Id::LogList, 6, 289, 338, 56);
}

void CTarvikDlg::watchControls() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool CTarvikDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) return cancelKeyTaken(watched, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::MouseButtonDblClick && watched != this)
        return doubleClickTaken(watched, static_cast<QMouseEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

// Escape and Break beep and go to the control with the focus only: the
// window never sees them, so neither closes it.
bool CTarvikDlg::cancelKeyTaken(QObject* watched, QKeyEvent* key) {
    auto* control = static_cast<QWidget*>(watched);
    // Open menus and drop-down lists are windows of their own and keep their Escape.
    if ((key->key() != Qt::Key_Escape && key->key() != Qt::Key_Cancel) || control->window() != this) return false;
    controls_->beep();
    if (watched != this) watched->event(key);
    key->accept();  // an ignored key would travel on to the parents
    return true;
}

// A double click anywhere while the file box holds text adds that file; on
// the queue it opens the entry's file, on the file box it adds.
bool CTarvikDlg::doubleClickTaken(QObject* watched, QMouseEvent* click) {
    if (click->button() != Qt::LeftButton) return false;
    if (!fileBox_->currentText().isEmpty() || watched == fileBox_ || fileBox_->isAncestorOf(qobject_cast<QWidget*>(watched))) {
        dispatch(Id::AddFile);
        return true;
    }
    if (watched == queue_->viewport() && commands_) {
        commands_->OpenQueueEntry();
        return true;
    }
    return false;
}

void CTarvikDlg::dispatch(int id) {
    if (commands_ == nullptr || closePending_) return;
    ++depth_;
    commands_->Run(id);
    --depth_;
    finishCloseWhenUnwound();
}

// The key filter takes Escape first; the window closes only through closeEvent.
void CTarvikDlg::reject() {}

void CTarvikDlg::closeEvent(QCloseEvent* event) {
    if (closeAllowed_) {
        event->accept();
        return;
    }
    event->ignore();
    if (closePending_) return;
    if (controls_->messageBox("              Are you sure?", "Closing Tarvik Application", MessageButtons::YesNo,
                              MessageIcon::None) == MessageAnswer::Yes)
        closeConfirmed();
}

void CTarvikDlg::closeConfirmed() {
    if (closePending_) return;
    closePending_ = true;
    if (cancelWork_) cancelWork_();
    finishCloseWhenUnwound();
}

// Commands run re-entrantly inside a transmission's waits; the window may
// only go once the outermost of them has returned.
void CTarvikDlg::finishCloseWhenUnwound() {
    if (!closePending_ || depth_ > 0) return;
    QTimer::singleShot(0, this, [this] {
        closeAllowed_ = true;
        done(QDialog::Accepted);
    });
}
