#pragma once
// The browser's live view: every WebSocket on /api/events gets the status
// when it connects and whenever it changes, the file on the air when it (or
// the part of it shown) changes, and each new line of the day's log. The
// station is looked at a few times a second while anyone watches, never
// when nobody does. A watcher that does not read what it is sent is dropped
// before it costs memory. Window thread.

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "web/LogTail.h"

class QWebSocket;
class Station;

class EventFeed : public QObject {
public:
    static constexpr int kMaxWatchers = 64;
    static constexpr int kLookMilliseconds = 200;
    static constexpr qint64 kMaxUnsentBytes = 1024 * 1024;

    explicit EventFeed(Station& station);
    ~EventFeed() override;

    void Add(std::unique_ptr<QWebSocket> socket);
    int watchers() const { return static_cast<int>(watchers_.size()); }

private:
    void look();
    void send(QWebSocket* watcher, const QByteArray& message);
    void sendAll(const QByteArray& message);
    void drop(QWebSocket* watcher);
    QByteArray statusMessage() const;
    QByteArray onAirMessage() const;

    Station& station_;
    QTimer timer_;
    std::vector<QWebSocket*> watchers_;
    QByteArray lastStatus_;
    QByteArray lastOnAir_;
    LogFollower log_;
};
