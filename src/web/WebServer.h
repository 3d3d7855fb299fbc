#pragma once
// The HTTP side of the browser's service: who may ask (the password, the
// page's own origin, the host a browser asked for), the request handed to
// the API and its answer written back, and /api/events upgraded to a
// WebSocket for the live feed. A wrong password is answered only after a
// pause and ends the connection, so passwords cannot be tried quickly.
// Window thread.

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <optional>
#include <string>

class EventFeed;
class EventLog;
class WebApi;
struct WebReply;

class WebServer : public QAbstractHttpServer {
public:
    static constexpr int kWrongPasswordPauseMs = 1000;

    WebServer(WebApi& api, EventFeed& feed, EventLog& log, std::string password, QObject* parent = nullptr);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    // The refusal a request gets before the API sees it, if any.
    std::optional<WebReply> refusal(const QHttpServerRequest& request) const;
    bool passwordWrong(const QHttpServerRequest& request) const;
    void refuseAfterPause(const QHttpServerRequest& request, QTcpSocket* socket);
    void write(const QHttpServerRequest& request, QTcpSocket* socket, const WebReply& reply);
    void acceptWatchers();

    WebApi& api_;
    EventFeed& feed_;
    EventLog& log_;
    const std::string password_;
    QElapsedTimer sinceWrongPasswordLogged_;
    int wrongPasswordsUnlogged_ = 0;
};
