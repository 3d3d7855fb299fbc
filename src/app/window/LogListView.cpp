#include "app/window/LogListView.h"

#include <QMetaObject>

int LogLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant LogLineModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    return lines_[static_cast<std::size_t>(index.row())];
}

void LogLineModel::append(const QStringList& lines, int keep) {
    if (lines.isEmpty()) return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(lines.size()) - 1);
    lines_.insert(lines_.end(), lines.begin(), lines.end());
    endInsertRows();
    const int surplus = rowCount() - keep;
    if (surplus <= 0) return;
    beginRemoveRows(QModelIndex(), 0, surplus - 1);
    lines_.erase(lines_.begin(), lines_.begin() + surplus);
    endRemoveRows();
}

void LogLineModel::clear() {
    beginResetModel();
    lines_.clear();
    endResetModel();
}

LogListView::LogListView(QWidget* parent) : QListView(parent), model_(new LogLineModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(kShowEveryMs);
    connect(&showTimer_, &QTimer::timeout, this, [this] { flush(); });
}

void LogListView::append(const std::string& line, int keep) {
    QString text = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    std::lock_guard<std::mutex> hold(lock_);
    pending_.append(std::move(text));
    keep_ = keep;
    if (!posted_) post();
}

// Under the lock: one batch is waiting at a time. The timer is the window
// thread's, so the post only starts it there.
void LogListView::post() {
    posted_ = true;
    QMetaObject::invokeMethod(this, [this] {
        if (!showTimer_.isActive()) showTimer_.start();
    }, Qt::QueuedConnection);
}

void LogListView::flush() {
    QStringList lines;
    int keep = 0;
    {
        std::lock_guard<std::mutex> hold(lock_);
        lines.swap(pending_);
        posted_ = false;
        keep = keep_;
    }
    if (lines.isEmpty()) return;
    model_->append(lines, keep);
    QModelIndex newest = model_->index(model_->rowCount() - 1);
    setCurrentIndex(newest);
    scrollTo(newest);
}

int LogListView::count() {
    flush();
    return model_->rowCount();
}

QString LogListView::item(int index) {
    flush();
    return model_->data(model_->index(index), Qt::DisplayRole).toString();
}

int LogListView::currentRow() {
    flush();
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void LogListView::clear() {
    flush();
    model_->clear();
}
