#include "support/FakeControls.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "app/CommandIds.h"

using Hold = std::lock_guard<std::recursive_mutex>;

FakeControls::FakeControls() { sorted_.insert(Id::FileBox); }

void FakeControls::setText(int id, const std::string& text) { Hold h(lock_); texts_[id] = text; }
std::string FakeControls::text(int id) { Hold h(lock_); return texts_[id]; }
void FakeControls::setSelection(int id, int start, int end) { Hold h(lock_); selections_[id] = {start, end}; }
void FakeControls::enableControl(int id, bool enabled) { Hold h(lock_); controlEnabled_[id] = enabled; }

int FakeControls::listCount(int id) { Hold h(lock_); return static_cast<int>(lists_[id].size()); }

std::string FakeControls::listItem(int id, int index) {
    Hold h(lock_);
    auto& items = lists_[id];
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}

std::vector<std::string> FakeControls::listItems(int id) {
    Hold h(lock_);
    return lists_[id];
}

bool FakeControls::listHasItemContaining(int id, const std::string& text) {
    Hold h(lock_);
    for (const std::string& item : lists_[id])
        if (::strcasestr(item.c_str(), text.c_str()) != nullptr) return true;
    return false;
}

int FakeControls::listAdd(int id, const std::string& text) {
    Hold h(lock_);
    auto& items = lists_[id];
    auto at = items.end();
    if (sorted_.count(id))
        at = std::upper_bound(items.begin(), items.end(), text, [](const std::string& a, const std::string& b) {
            return ::strcasecmp(a.c_str(), b.c_str()) < 0;
        });
    return static_cast<int>(items.insert(at, text) - items.begin());
}

void FakeControls::listInsert(int id, int index, const std::string& text) {
    Hold h(lock_);
    auto& items = lists_[id];
    if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
    items.insert(items.begin() + index, text);
}

void FakeControls::listSetItem(int id, int index, const std::string& text) {
    Hold h(lock_);
    auto& items = lists_[id];
    if (index >= 0 && index < static_cast<int>(items.size())) items[index] = text;
}

void FakeControls::listDelete(int id, int index) {
    Hold h(lock_);
    auto& items = lists_[id];
    if (index >= 0 && index < static_cast<int>(items.size())) items.erase(items.begin() + index);
}

void FakeControls::listReset(int id) {
    Hold h(lock_);
    lists_[id].clear();
    selected_[id].clear();
    current_.erase(id);
}

int FakeControls::listCurrent(int id) {
    Hold h(lock_);
    auto found = current_.find(id);
    return found == current_.end() ? -1 : found->second;
}

void FakeControls::listSetCurrent(int id, int index) { Hold h(lock_); current_[id] = index; }
bool FakeControls::listIsSelected(int id, int index) { Hold h(lock_); return selected_[id].count(index) > 0; }

void FakeControls::listAppendNewest(int id, const std::string& text, int keep) {
    Hold h(lock_);
    auto& items = lists_[id];
    items.push_back(text);
    if (static_cast<int>(items.size()) > keep) items.erase(items.begin(), items.end() - keep);
    current_[id] = static_cast<int>(items.size()) - 1;
}

void FakeControls::listSetSelected(int id, int index, bool selected) {
    Hold h(lock_);
    if (selected) selected_[id].insert(index);
    else selected_[id].erase(index);
}

int FakeControls::rowCount(int id) { Hold h(lock_); return static_cast<int>(rows_[id].size()); }

std::vector<std::string> FakeControls::row(int id, int index) {
    Hold h(lock_);
    auto& rows = rows_[id];
    return index >= 0 && index < static_cast<int>(rows.size()) ? rows[index] : std::vector<std::string>();
}

void FakeControls::rowInsert(int id, int index, const std::vector<std::string>& columns) {
    Hold h(lock_);
    auto& rows = rows_[id];
    if (index < 0 || index > static_cast<int>(rows.size())) index = static_cast<int>(rows.size());
    rows.insert(rows.begin() + index, columns);
}

void FakeControls::rowDelete(int id, int index) {
    Hold h(lock_);
    auto& rows = rows_[id];
    if (index >= 0 && index < static_cast<int>(rows.size())) rows.erase(rows.begin() + index);
}

bool FakeControls::rowDeleteWith(int id, int column, const std::string& text) {
    Hold h(lock_);
    auto& rows = rows_[id];
    for (auto row = rows.begin(); row != rows.end(); ++row) {
        if (column < static_cast<int>(row->size()) && (*row)[static_cast<std::size_t>(column)] == text) {
            rows.erase(row);
            return true;
        }
    }
    return false;
}

int FakeControls::rowSelected(int id) { return listCurrent(id); }

void FakeControls::checkMenuItem(int id, bool checked) { Hold h(lock_); checked_[id] = checked; }
bool FakeControls::menuItemChecked(int id) { Hold h(lock_); return checked_[id]; }
void FakeControls::enableMenuItem(int id, bool enabled) { Hold h(lock_); menuEnabled_[id] = enabled; }

bool FakeControls::menuItemEnabled(int id) {
    Hold h(lock_);
    auto found = menuEnabled_.find(id);
    return found == menuEnabled_.end() || found->second;
}

void FakeControls::setMenuItemText(int id, const std::string& text) { Hold h(lock_); menuTexts_[id] = text; }

MessageAnswer FakeControls::messageBox(const std::string& text, const std::string& caption,
                                       MessageButtons buttons, MessageIcon icon) {
    std::function<void()> action;
    MessageAnswer answer;
    {
        Hold h(lock_);
        boxes_.push_back({text, caption, buttons, icon});
        action = whileBoxShown_;
        answer = answer_;
    }
    if (action) action();
    return answer;
}

void FakeControls::beep() { Hold h(lock_); ++beeps_; }

std::vector<std::string> FakeControls::list(int id) { Hold h(lock_); return lists_[id]; }
std::vector<RecordedBox> FakeControls::boxes() { Hold h(lock_); return boxes_; }
int FakeControls::beeps() { Hold h(lock_); return beeps_; }
std::pair<int, int> FakeControls::selection(int id) { Hold h(lock_); return selections_[id]; }

bool FakeControls::controlEnabled(int id) {
    Hold h(lock_);
    auto found = controlEnabled_.find(id);
    return found == controlEnabled_.end() || found->second;
}

void FakeControls::setAnswer(MessageAnswer answer) { Hold h(lock_); answer_ = answer; }
void FakeControls::setWhileBoxShown(std::function<void()> action) { Hold h(lock_); whileBoxShown_ = std::move(action); }
