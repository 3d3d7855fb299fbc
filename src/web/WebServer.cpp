#include "web/WebServer.h"

#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

#include "app/EventLog.h"
#include "web/BoundedTcpServer.h"
#include "web/EventFeed.h"
#include "web/WebAccess.h"
#include "web/WebApi.h"

namespace {

constexpr const char* kEventsPath = "/api/events";
constexpr const char* kRefusedProperty = "tarvikRefused";
// Wrong passwords are logged at most once a minute, with their count.
constexpr qint64 kWrongPasswordLogMs = 60 * 1000;

std::string header(const QHttpServerRequest& request, const char* key) { return request.value(key).toStdString(); }

std::string methodName(QHttpServerRequest::Method method) {
    switch (method) {
        case QHttpServerRequest::Method::Get: return "GET";
        case QHttpServerRequest::Method::Head: return "HEAD";
        case QHttpServerRequest::Method::Post: return "POST";
        case QHttpServerRequest::Method::Put: return "PUT";
        default: return "OTHER";
    }
}

bool changesStation(const QHttpServerRequest& request) {
    std::string method = methodName(request.method());
    return method != "GET" && method != "HEAD";
}

bool isUpgrade(const QHttpServerRequest& request) {
    return request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

// Without a password only this machine is served, and only by its own
// names: a page of another site that a browser was led to through its DNS
// asks under the other site's name.
bool hostIsThisMachine(const std::string& host) {
    std::string name = host.substr(0, host.rfind(':'));
    return name == "localhost" || WebAccess::IsLoopback(name);
}

WebRequest webRequest(const QHttpServerRequest& request) {
    return {methodName(request.method()), request.url().path(QUrl::FullyEncoded).toStdString(), request.query(),
            header(request, "content-type"), request.body().toStdString()};
}

}  // namespace

WebServer::WebServer(WebApi& api, EventFeed& feed, EventLog& log, std::string password, QObject* parent)
    : QAbstractHttpServer(parent), api_(api), feed_(feed), log_(log), password_(std::move(password)) {
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, [this] { acceptWatchers(); });
}

bool WebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    BoundedTcpServer::RequestTaken(socket);
    const bool refusedBefore = socket->property(kRefusedProperty).toBool();
    if (!refusedBefore && passwordWrong(request)) refuseAfterPause(request, socket);
    // Refused requests go on to missingHandler; an upgrade refused so is not made.
    if (socket->property(kRefusedProperty).toBool() || refusal(request)) return false;
    if (isUpgrade(request)) return true;
    write(request, socket, api_.Answer(webRequest(request)));
    return true;
}

void WebServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    // A wrong password is answered after its pause, and nothing more on that connection.
    if (socket->property(kRefusedProperty).toBool()) return;
    write(request, socket, refusal(request).value_or(WebReply::Error(404, "not found")));
}

std::optional<WebReply> WebServer::refusal(const QHttpServerRequest& request) const {
    const std::string origin = header(request, "origin");
    const std::string host = header(request, "host");
    if (password_.empty() && !hostIsThisMachine(host))
        return WebReply::Error(403, "without a password this station answers only to localhost");
    if (!password_.empty() && header(request, "authorization").empty())
        return WebReply::Error(401, "the station's password is needed");
    if (!WebAccess::OriginIsOwnPage(origin, host)) return WebReply::Error(403, "not from the station's own page");
    if (isUpgrade(request) && request.url().path() != kEventsPath) return WebReply::Error(404, "not found");
    if (!changesStation(request)) return std::nullopt;
    WebAccess::BodyKind kind = WebAccess::KindOfBody(header(request, "content-type"));
    if (kind == WebAccess::BodyKind::Refused || (kind == WebAccess::BodyKind::Form && origin.empty()))
        return WebReply::Error(403, "not a request of the station's own page");
    return std::nullopt;
}

bool WebServer::passwordWrong(const QHttpServerRequest& request) const {
    const std::string given = header(request, "authorization");
    return !password_.empty() && !given.empty() && !WebAccess::PasswordGiven(given, password_);
}

void WebServer::refuseAfterPause(const QHttpServerRequest& request, QTcpSocket* socket) {
    socket->setProperty(kRefusedProperty, true);
    ++wrongPasswordsUnlogged_;
    if (!sinceWrongPasswordLogged_.isValid() || sinceWrongPasswordLogged_.elapsed() >= kWrongPasswordLogMs) {
        log_.writef("Web: %d wrong password(s), the last from %s", wrongPasswordsUnlogged_,
                    request.remoteAddress().toString().toLatin1().constData());
        wrongPasswordsUnlogged_ = 0;
        sinceWrongPasswordLogged_.start();
    }
    // The socket is the timer's context: a client that left takes the answer with it.
    QTimer::singleShot(kWrongPasswordPauseMs, socket, [socket] {
        socket->write(WebReply::Error(401, "wrong password").Bytes(true));
        socket->disconnectFromHost();
    });
}

void WebServer::write(const QHttpServerRequest& request, QTcpSocket* socket, const WebReply& reply) {
    const bool closeAfter = request.value("connection").compare("close", Qt::CaseInsensitive) == 0;
    socket->write(reply.Bytes(closeAfter));
    if (closeAfter) socket->disconnectFromHost();
}

void WebServer::acceptWatchers() {
    while (hasPendingWebSocketConnections()) feed_.Add(nextPendingWebSocketConnection());
}
