#include "web/EventFeed.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>
#include <algorithm>

#include "app/Station.h"
#include "web/StationStatus.h"

namespace {

// Nothing a watcher sends is read; it may not make the station hold much of it.
constexpr qint64 kLargestIncoming = 4096;

QByteArray compact(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

}  // namespace

EventFeed::EventFeed(Station& station) : station_(station) {
    timer_.setInterval(kLookMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { look(); });
}

EventFeed::~EventFeed() {
    for (QWebSocket* watcher : watchers_) {
        watcher->disconnect(this);
        delete watcher;
    }
}

void EventFeed::Add(std::unique_ptr<QWebSocket> socket) {
    if (static_cast<int>(watchers_.size()) >= kMaxWatchers) {
        socket->close(QWebSocketProtocol::CloseCodeTooMuchData, QStringLiteral("too many watchers"));
        socket.release()->deleteLater();
        return;
    }
    QWebSocket* watcher = socket.release();
    watcher->setMaxAllowedIncomingMessageSize(kLargestIncoming);
    watcher->setMaxAllowedIncomingFrameSize(kLargestIncoming);
    connect(watcher, &QWebSocket::disconnected, this, [this, watcher] { drop(watcher); });
    watchers_.push_back(watcher);
    if (!timer_.isActive()) {
        log_.ReadNew(station_.log.todaysFileName());
        lastStatus_ = statusMessage();
        lastOnAir_ = onAirMessage();
        timer_.start();
    }
    send(watcher, lastStatus_);
    send(watcher, lastOnAir_);
}

void EventFeed::look() {
    QByteArray status = statusMessage();
    if (status != lastStatus_) sendAll(lastStatus_ = status);
    QByteArray onAir = onAirMessage();
    if (onAir != lastOnAir_) sendAll(lastOnAir_ = onAir);
    LogLines fresh = log_.ReadNew(station_.log.todaysFileName());
    if (fresh.lines.empty()) return;
    QJsonArray lines;
    for (const std::string& line : fresh.lines) lines.append(QString::fromLatin1(line));
    sendAll(compact({{"type", "log"}, {"lines", lines}, {"next", fresh.next}}));
}

void EventFeed::send(QWebSocket* watcher, const QByteArray& message) {
    if (watcher->bytesToWrite() > kMaxUnsentBytes) {
        watcher->abort();
        return;
    }
    watcher->sendTextMessage(QString::fromUtf8(message));
}

void EventFeed::sendAll(const QByteArray& message) {
    // A send may drop a watcher.
    std::vector<QWebSocket*> now = watchers_;
    for (QWebSocket* watcher : now) send(watcher, message);
}

void EventFeed::drop(QWebSocket* watcher) {
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), watcher), watchers_.end());
    watcher->deleteLater();
    if (watchers_.empty()) timer_.stop();
}

QByteArray EventFeed::statusMessage() const {
    return compact({{"type", "status"}, {"status", StationStatus::Status(station_)}});
}

QByteArray EventFeed::onAirMessage() const {
    QJsonObject message = StationStatus::OnAirText(station_);
    message["type"] = "current";
    return compact(message);
}
