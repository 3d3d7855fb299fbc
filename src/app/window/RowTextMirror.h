#pragma once
// The texts of a list's rows, upper-cased by the ASCII letters, kept in step
// with its model through the model's own signals. A session asking whether
// a name is already queued reads these bytes under a lock, from its own
// thread, instead of every row's variant on the window thread: the queue
// holds thousands of rows when mail pours in. A list emptied and filled
// again in one step of the window thread (the schedule reloaded, entries
// moved to the top) keeps answering with its rows of before until the window
// thread is back in its event loop, as a question carried to the window
// thread would have found it.

#include <QObject>
#include <mutex>
#include <string>
#include <vector>

class QAbstractItemModel;

class RowTextMirror : public QObject {
public:
    // On the window thread; follows `model` (column 0) from now on, and
    // keeps its last rows once the model is gone.
    explicit RowTextMirror(QAbstractItemModel* model);

    // From any thread: whether a row holds `text`, without regard to letter case.
    bool anyRowContains(const std::string& text) const;

private:
    void copyRows(int first, int last);
    void insertRows(int first, int last);
    void removeRows(int first, int last);
    void copyAll();
    void reset();
    std::string rowText(int row) const;

    QAbstractItemModel* model_;
    mutable std::mutex lock_;
    std::vector<std::string> rows_;
    // The rows before a reset, until the window thread's step that reset them ends.
    std::vector<std::string> beforeReset_;
    bool resetting_ = false;
};
