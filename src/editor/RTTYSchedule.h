#pragma once
// The schedule editor window: a non-modal dialog, created once and kept for
// the whole run; closing it hides it. Builds its controls at their places,
// binds them to a Controls of its own and hands every command to the
// ScheduleEditor; it also serves as the editor's surface (text view,
// slider, hiding). Keys are looked at before the controls get them.
// Window thread.

#include <QDialog>
#include <functional>
#include <memory>

#include "editor/EditorSurface.h"

class Clock;
class Controls;
class EditorTextView;
class EventLog;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSlider;
class ScheduleEditor;
class WidgetControls;
struct ControlPlace;
struct ProgramState;

class RTTYSchedule : public QDialog, private EditorSurface {
public:
    RTTYSchedule(ProgramState& state, EventLog& log, const Clock& clock, QWidget* parent = nullptr);
    ~RTTYSchedule() override;

    // The Edit menu's "Tarvik Editor" and the Help menu's "Schedule Editor".
    void showEditor();

    Controls& controls();
    ScheduleEditor& editor() { return *editor_; }

    // Escape does not close the editor.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* createControl(const ControlPlace& place);
    void connectCommands();
    void watchKeys();
    void onButton(int id, void (ScheduleEditor::*command)());
    // Runs an editor command; list changes it makes are not the operator's choices.
    void run(const std::function<void()>& command);
    bool onKey(QWidget* target, int key);

    void showViewBytes(const std::string& bytes) override;
    std::string viewBytesWithSoftBreaks() override;
    void removeSoftBreaks() override;
    void setViewMargins(int left, int right) override;
    void setViewEditable(bool editable) override;
    void setSliderRange(int minimum, int maximum) override;
    int sliderPosition() override;
    void setSliderPosition(int position) override;
    void hideWindow() override { hide(); }
    void restoreWindow() override;

    WidgetControls* controls_ = nullptr;
    std::unique_ptr<ScheduleEditor> editor_;
    QListWidget* list_ = nullptr;
    QComboBox* fileBox_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    EditorTextView* view_ = nullptr;
    QSlider* slider_ = nullptr;
    bool running_ = false;
};
