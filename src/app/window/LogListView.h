#pragma once
// The event log's list in the main window: the newest lines, the newest one
// current and in view. Writers on any thread hand a line over without
// waiting for the window; the lines gathered meanwhile are shown in one
// batch at most 25 times a second, as often as the window is painted on a
// display (showing a line lays the list out and selects anew, and mail
// pouring in writes hundreds of lines a second), in rows of one height.
// Reading the list (count, item, current row) first shows every line
// handed over.

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <mutex>
#include <string>

class LogLineModel : public QAbstractListModel {
public:
    explicit LogLineModel(QObject* parent) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Appends, then drops the oldest beyond `keep`.
    void append(const QStringList& lines, int keep);
    void clear();

private:
    std::deque<QString> lines_;
};

class LogListView : public QListView {
public:
    explicit LogListView(QWidget* parent);

    // From any thread; Latin-1 bytes. The list keeps the newest `keep` lines.
    void append(const std::string& line, int keep);
    // On the window thread: shows what was handed over so far.
    void flush();

    int count();
    QString item(int index);
    int currentRow();
    void clear();

private:
    void post();

    // The time a batch of lines waits to be shown.
    static constexpr int kShowEveryMs = 40;

    LogLineModel* model_;
    QTimer showTimer_;
    std::mutex lock_;
    QStringList pending_;
    bool posted_ = false;
    int keep_ = 0;
};
