#include "editor/RTTYSchedule.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTextDocument>

#include "app/window/DialogFont.h"
#include "app/window/DialogUnits.h"
#include "app/window/WidgetControls.h"
#include "editor/EditorIds.h"
#include "editor/EditorLayout.h"
#include "editor/EditorTextView.h"
#include "editor/ScheduleEditor.h"

namespace {

// The file box refills itself each time its list drops down.
class FileBox : public QComboBox {
public:
    explicit FileBox(QWidget* parent) : QComboBox(parent) {}
    std::function<void()> beforeDropDown;
    void showPopup() override {
        if (beforeDropDown) beforeDropDown();
        QComboBox::showPopup();
    }
};

QComboBox* makeFileBox(QWidget* parent) {
    auto* box = new FileBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    // With a placeholder the first item added does not become the box's text.
    box->setPlaceholderText("file or $command");
    return box;
}

QWidget* makeEdit(QWidget* parent, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(readOnly);
    return edit;
}

QWidget* makeButton(QWidget* parent, const char* text) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    // Enter is the editor's own key, never a default button's.
    button->setAutoDefault(false);
    return button;
}

QWidget* makeSlider(QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, TextViewPane::kSliderMaximum);
    slider->setValue(TextViewPane::kEditingSlider);
    return slider;
}

}  // namespace

RTTYSchedule::RTTYSchedule(ProgramState& state, EventLog& /*log: the editor writes no log lines*/,
                           const Clock& clock, QWidget* parent)
    : QDialog(parent) {
    setModal(false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setFont(DialogFont());
    controls_ = new WidgetControls(this);
    buildControls();
    editor_ = std::make_unique<ScheduleEditor>(state, *controls_, static_cast<EditorSurface&>(*this), clock);
    connectCommands();
    editor_->SetTitle();
    watchKeys();
}

RTTYSchedule::~RTTYSchedule() = default;

// The window and each of its controls (their inner parts too); drop-down
// lists opened later are windows of their own and keep their keys.
void RTTYSchedule::watchKeys() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

Controls& RTTYSchedule::controls() { return *controls_; }

void RTTYSchedule::buildControls() {
    DialogUnits units(font());
    setFixedSize(units.horizontal(kEditorSize.width), units.vertical(kEditorSize.height));
    std::vector<std::pair<QLabel*, ControlKind>> indented;
    for (const ControlPlace& place : EditorControlPlaces()) {
        QWidget* control = createControl(place);
        control->setGeometry(units.rect(place.x, place.y, place.width, place.height));
        if (place.kind == ControlKind::Ruler || place.kind == ControlKind::ColumnHeads)
            indented.emplace_back(static_cast<QLabel*>(control), place.kind);
        if (place.id < 0) continue;
        control->setObjectName(QString::number(place.id));
        controls_->bind(place.id, control);
    }
    controls_->setSorted(EditorId::FileChoice);
    list_ = static_cast<QListWidget*>(controls_->widget(EditorId::EntryList));
    fileBox_ = static_cast<QComboBox*>(controls_->widget(EditorId::FileChoice));
    fileName_ = static_cast<QLineEdit*>(controls_->widget(EditorId::FileName));
    view_ = static_cast<EditorTextView*>(controls_->widget(EditorId::TextView));
    slider_ = static_cast<QSlider*>(controls_->widget(EditorId::WidthSlider));
    // The rulers and heads start where the text of the view and of the list starts.
    int viewIndent = view_->frameWidth() + static_cast<int>(view_->document()->documentMargin());
    int listIndent = list_->frameWidth() + 2;
    for (auto [label, kind] : indented)
        label->setContentsMargins(kind == ControlKind::Ruler ? viewIndent : listIndent, 0, 0, 0);
}

QWidget* RTTYSchedule::createControl(const ControlPlace& place) {
    switch (place.kind) {
        case ControlKind::ColumnHeads:
            return new QLabel(QString::fromStdString(ListColumnHeads()), this);
        case ControlKind::Label:
        case ControlKind::Ruler:
            return new QLabel(QString::fromLatin1(place.text), this);
        case ControlKind::List:
            return new QListWidget(this);
        case ControlKind::FileBox:
            return makeFileBox(this);
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
            return makeEdit(this, place.kind == ControlKind::ReadOnlyEdit);
        case ControlKind::CheckBox:
            return new QCheckBox(QString::fromLatin1(place.text), this);
        case ControlKind::Button:
            return makeButton(this, place.text);
        case ControlKind::TextView: {
            auto* view = new EditorTextView(this);
            view->setReadOnly(true);
            return view;
        }
        case ControlKind::Slider:
            return makeSlider(this);
    }
    return new QWidget(this);
}

void RTTYSchedule::onButton(int id, void (ScheduleEditor::*command)()) {
    auto* button = static_cast<QAbstractButton*>(controls_->widget(id));
    connect(button, &QAbstractButton::clicked, this, [this, command] { run([&] { (editor_.get()->*command)(); }); });
}

void RTTYSchedule::connectCommands() {
    using namespace EditorId;
    onButton(Insert, &ScheduleEditor::OnInsert);
    onButton(Replace, &ScheduleEditor::OnReplace);
    onButton(Delete, &ScheduleEditor::OnDelete);
    onButton(SaveList, &ScheduleEditor::OnSave);
    onButton(SaveAndExit, &ScheduleEditor::OnSaveAndExit);
    onButton(Cancel, &ScheduleEditor::OnCancel);
    onButton(AutoTime, &ScheduleEditor::OnAutoTime);
    TextViewPane& pane = editor_->textView();
    auto onViewButton = [&](int id, void (TextViewPane::*command)()) {
        connect(static_cast<QAbstractButton*>(controls_->widget(id)), &QAbstractButton::clicked, this,
                [this, &pane, command] { run([&] { (pane.*command)(); }); });
    };
    onViewButton(EditText, &TextViewPane::OnEditToggled);
    onViewButton(SaveText, &TextViewPane::OnSave);
    onViewButton(ClearText, &TextViewPane::OnClear);
    onViewButton(ApplyWidth, &TextViewPane::OnApplyWidth);
    connect(slider_, &QSlider::sliderReleased, this, [this, &pane] { run([&] { pane.OnSliderReleased(); }); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!running_) run([this] { editor_->OnListChoice(); });
    });
    connect(fileBox_, &QComboBox::activated, this, [this] {
        if (!running_) run([this] { editor_->OnFileChoice(); });
    });
    static_cast<FileBox*>(fileBox_)->beforeDropDown = [this] { run([this] { editor_->OnFileBoxDropDown(); }); };
}

void RTTYSchedule::run(const std::function<void()>& command) {
    bool outer = running_;
    running_ = true;
    command();
    running_ = outer;
}

void RTTYSchedule::showEditor() {
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
}

void RTTYSchedule::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) run([this] { editor_->OnShownOrHidden(); });
}

void RTTYSchedule::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) run([this] { editor_->OnShownOrHidden(); });
}

void RTTYSchedule::closeEvent(QCloseEvent* event) {
    run([this] { editor_->OnCancel(); });
    event->accept();
}

bool RTTYSchedule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr || target->window() != this) return false;
    return onKey(target, static_cast<QKeyEvent*>(event)->key());
}

bool RTTYSchedule::onKey(QWidget* target, int key) {
    switch (key) {
        case Qt::Key_Escape:
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (target == view_ || view_->isAncestorOf(target)) return false;
            run([&] { target == fileName_ ? editor_->OnEnterInFileName() : editor_->OnEnter(); });
            return true;
        case Qt::Key_Down:
            if (fileBox_->view()->isVisible()) return false;
            fileBox_->showPopup();
            return true;
        default:
            return false;
    }
}

void RTTYSchedule::showViewBytes(const std::string& bytes) { view_->showBytes(bytes); }
std::string RTTYSchedule::viewBytesWithSoftBreaks() { return view_->bytesWithSoftBreaks(); }
void RTTYSchedule::removeSoftBreaks() { view_->removeSoftBreaks(); }
void RTTYSchedule::setViewMargins(int left, int right) { view_->setMargins(left, right); }

void RTTYSchedule::setViewEditable(bool editable) {
    view_->setReadOnly(!editable);
    fileName_->setReadOnly(!editable);
}

void RTTYSchedule::setSliderRange(int minimum, int maximum) { slider_->setRange(minimum, maximum); }
int RTTYSchedule::sliderPosition() { return slider_->value(); }
void RTTYSchedule::setSliderPosition(int position) { slider_->setValue(position); }

void RTTYSchedule::restoreWindow() {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}
