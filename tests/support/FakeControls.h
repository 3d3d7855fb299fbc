#pragma once
// A window for tests: keeps the texts, lists, rows and menu states that the
// station sets, records message boxes and beeps, and answers boxes with a
// scripted answer. Safe to call from several threads. The file box is sorted
// as the window's is: without regard to case, only when an item is added.

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Controls.h"

struct RecordedBox {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

class FakeControls : public Controls {
public:
    FakeControls();
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

    // Test side.
    std::vector<std::string> list(int id);
    std::vector<RecordedBox> boxes();
    int beeps();
    std::pair<int, int> selection(int id);
    bool controlEnabled(int id);
    void setAnswer(MessageAnswer answer);
    // Runs inside messageBox, as the box's own message loop would run other work.
    void setWhileBoxShown(std::function<void()> action);

private:
    std::recursive_mutex lock_;
    std::set<int> sorted_;
    std::map<int, std::string> texts_;
    std::map<int, std::vector<std::string>> lists_;
    std::map<int, std::set<int>> selected_;
    std::map<int, int> current_;
    std::map<int, std::vector<std::vector<std::string>>> rows_;
    std::map<int, bool> checked_;
    std::map<int, bool> menuEnabled_;
    std::map<int, bool> controlEnabled_;
    std::map<int, std::string> menuTexts_;
    std::map<int, std::pair<int, int>> selections_;
    std::vector<RecordedBox> boxes_;
    int beeps_ = 0;
    MessageAnswer answer_ = MessageAnswer::Ok;
    std::function<void()> whileBoxShown_;
};
