#pragma once
// The station's only way into a window: controls and menu items addressed by
// their ids. The main window and the schedule editor implement it with Qt
// widgets; tests use a recording fake. A call from a thread other than the
// window thread is carried out on the window thread and waits until done
// (but for listAppendNewest, which never waits).

#include <string>
#include <vector>

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Warning, Error };
enum class MessageAnswer { Ok, Yes, No };

class Controls {
public:
    virtual ~Controls() = default;

    // Edits, statics, the combo box's edit field, the window title (id 0).
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) = 0;
    // Selects bytes [start, end) of an edit's text.
    virtual void setSelection(int id, int start, int end) = 0;
    virtual void enableControl(int id, bool enabled) = 0;

    // List boxes and the combo box's list. Indices count from 0.
    virtual int listCount(int id) = 0;
    virtual std::string listItem(int id, int index) = 0;
    // Every item, in one call (from another thread: one wait for the window).
    virtual std::vector<std::string> listItems(int id) = 0;
    // Whether an item holds `text`, without regard to letter case (ASCII).
    virtual bool listHasItemContaining(int id, const std::string& text) = 0;
    // Appends (or, for a sorted box, inserts in its sort place); returns the index.
    virtual int listAdd(int id, const std::string& text) = 0;
    // Inserts before `index` without sorting; -1 appends at the end.
    virtual void listInsert(int id, int index, const std::string& text) = 0;
    virtual void listSetItem(int id, int index, const std::string& text) = 0;
    virtual void listDelete(int id, int index) = 0;
    virtual void listReset(int id) = 0;
    // The caret item of the list, or -1.
    virtual int listCurrent(int id) = 0;
    virtual void listSetCurrent(int id, int index) = 0;
    virtual bool listIsSelected(int id, int index) = 0;
    // Appends without waiting for the window, from any thread; the list
    // keeps its newest `keep` items, the newest one current.
    virtual void listAppendNewest(int id, const std::string& text, int keep) = 0;
    virtual void listSetSelected(int id, int index, bool selected) = 0;

    // Report-style list views: rows of column texts.
    virtual int rowCount(int id) = 0;
    virtual std::vector<std::string> row(int id, int index) = 0;
    virtual void rowInsert(int id, int index, const std::vector<std::string>& columns) = 0;
    virtual void rowDelete(int id, int index) = 0;
    // Deletes the first row whose `column` reads `text`, found and deleted
    // in one step, so no other change to the list comes in between; false
    // when there is none.
    virtual bool rowDeleteWith(int id, int column, const std::string& text) = 0;
    // The first selected row, or -1.
    virtual int rowSelected(int id) = 0;

    // Menu items by command id.
    virtual void checkMenuItem(int id, bool checked) = 0;
    virtual bool menuItemChecked(int id) = 0;
    virtual void enableMenuItem(int id, bool enabled) = 0;
    virtual bool menuItemEnabled(int id) = 0;
    virtual void setMenuItemText(int id, const std::string& text) = 0;

    // Modal box; without a display it writes to standard error and takes the
    // default answer (OK, or Yes for a question).
    virtual MessageAnswer messageBox(const std::string& text, const std::string& caption,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    virtual void beep() = 0;

    // Checks `id` and unchecks every other item of first..last.
    void checkMenuRadio(int first, int last, int id) {
        for (int item = first; item <= last; ++item) checkMenuItem(item, item == id);
    }
};
