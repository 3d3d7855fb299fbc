#pragma once
// Controls on Qt widgets: the ids of a window's controls and menu items bound
// to its widgets and actions. Texts cross as Latin-1, one byte one character;
// an edit's selection counts bytes of the text as set, whatever the widget
// makes of its line ends. A call from another thread is carried to the window
// thread and waits there until done. Without a display, message boxes go to
// standard error with their default answer.

#include <QObject>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"

class QAction;
class QWidget;
class RowTextMirror;

class WidgetControls : public QObject, public Controls {
public:
    explicit WidgetControls(QWidget* window);
    ~WidgetControls() override;

    // Edits (QLineEdit, QPlainTextEdit), labels, buttons, check boxes, list
    // boxes (QListWidget, the LogListView), combo boxes (QComboBox), list views (QTreeWidget)
    // and sliders. Id 0 is the window itself (its title).
    void bind(int id, QWidget* widget);
    void bindAction(int id, QAction* action);
    QWidget* widget(int id) const;
    QAction* action(int id) const;
    // Sorted boxes insert an added item in its place without regard to case.
    void setSorted(int id) { sorted_[id] = true; }
    // A list box whose rows other threads search (listHasItemContaining)
    // without waiting for the window. Before any such thread starts.
    void mirrorRows(int id);

    void setText(int id, const std::string& text) override;
    std::string text(int id) override;
    void setSelection(int id, int start, int end) override;
    void enableControl(int id, bool enabled) override;

    int listCount(int id) override;
    std::string listItem(int id, int index) override;
    std::vector<std::string> listItems(int id) override;
    bool listHasItemContaining(int id, const std::string& text) override;
    int listAdd(int id, const std::string& text) override;
    void listInsert(int id, int index, const std::string& text) override;
    void listSetItem(int id, int index, const std::string& text) override;
    void listDelete(int id, int index) override;
    void listReset(int id) override;
    int listCurrent(int id) override;
    void listSetCurrent(int id, int index) override;
    bool listIsSelected(int id, int index) override;
    void listSetSelected(int id, int index, bool selected) override;
    void listAppendNewest(int id, const std::string& text, int keep) override;

    int rowCount(int id) override;
    std::vector<std::string> row(int id, int index) override;
    void rowInsert(int id, int index, const std::vector<std::string>& columns) override;
    void rowDelete(int id, int index) override;
    bool rowDeleteWith(int id, int column, const std::string& text) override;
    int rowSelected(int id) override;

    void checkMenuItem(int id, bool checked) override;
    bool menuItemChecked(int id) override;
    void enableMenuItem(int id, bool enabled) override;
    bool menuItemEnabled(int id) override;
    void setMenuItemText(int id, const std::string& text) override;

    MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                             MessageIcon icon) override;
    void beep() override;
    // Beeps so far: what the window tests hear without a speaker.
    int beeps() const { return beeps_; }

    // True under the offscreen platform: nobody can answer a box.
    static bool Headless();
    // Without a display: the answer boxes take instead of their default.
    void setHeadlessAnswer(MessageAnswer answer) {
        headlessAnswer_ = answer;
        answerScripted_ = true;
    }

private:
    // Runs `work` on the window thread, waiting for it from any other.
    void onWindowThread(const std::function<void()>& work);
    template <typename T>
    T onWindowThreadReturning(const std::function<T()>& work) {
        T result{};
        onWindowThread([&] { result = work(); });
        return result;
    }

    QWidget* window_;
    std::map<int, QWidget*> widgets_;
    std::map<int, QAction*> actions_;
    std::map<int, bool> sorted_;
    // Read by session threads until the station ends, so held here, not by the list.
    std::map<int, std::unique_ptr<RowTextMirror>> mirrors_;
    // Widget position of each byte of an edit's text as last set.
    std::map<int, std::vector<int>> bytePositions_;
    MessageAnswer headlessAnswer_ = MessageAnswer::Ok;
    bool answerScripted_ = false;
    std::atomic<int> beeps_ = 0;
};
