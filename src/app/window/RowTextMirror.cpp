#include "app/window/RowTextMirror.h"

#include <QAbstractItemModel>
#include <QMetaObject>
#include <algorithm>

#include "platform/AsciiText.h"

RowTextMirror::RowTextMirror(QAbstractItemModel* model) : model_(model) {
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { insertRows(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { removeRows(first, last); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) { copyRows(from.row(), to.row()); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { reset(); });
    // Sorting and moves rearrange rows without naming them: copied afresh.
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] { copyAll(); });
    connect(model, &QAbstractItemModel::rowsMoved, this, [this] { copyAll(); });
    copyAll();
}

bool RowTextMirror::anyRowContains(const std::string& text) const {
    std::lock_guard<std::mutex> hold(lock_);
    return AnyHoldsWithoutCase(rows_, text) || AnyHoldsWithoutCase(beforeReset_, text);
}

std::string RowTextMirror::rowText(int row) const {
    const QByteArray bytes = model_->index(row, 0).data().toString().toLatin1();
    return AsciiUpper(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void RowTextMirror::copyRows(int first, int last) {
    std::lock_guard<std::mutex> hold(lock_);
    for (int row = std::max(first, 0); row <= last && row < static_cast<int>(rows_.size()); ++row)
        rows_[row] = rowText(row);
}

void RowTextMirror::insertRows(int first, int last) {
    std::vector<std::string> added;
    for (int row = first; row <= last; ++row) added.push_back(rowText(row));
    std::lock_guard<std::mutex> hold(lock_);
    rows_.insert(rows_.begin() + first, added.begin(), added.end());
}

void RowTextMirror::removeRows(int first, int last) {
    std::lock_guard<std::mutex> hold(lock_);
    rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
}

void RowTextMirror::reset() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!resetting_) {
            beforeReset_ = std::move(rows_);
            resetting_ = true;
            // Runs once the window thread is back in its event loop.
            QMetaObject::invokeMethod(this, [this] {
                std::lock_guard<std::mutex> settled(lock_);
                beforeReset_.clear();
                resetting_ = false;
            }, Qt::QueuedConnection);
        }
    }
    copyAll();
}

void RowTextMirror::copyAll() {
    std::vector<std::string> rows;
    for (int row = 0, count = model_->rowCount(); row < count; ++row) rows.push_back(rowText(row));
    std::lock_guard<std::mutex> hold(lock_);
    rows_.swap(rows);
}
