#pragma once
// The listening socket of the browser's service, with bounds a stranger
// cannot push past: at most kMaxConnections at once (more are closed at
// once), and at most kMaxRequestBytes received on a connection for one
// request (the HTTP server would otherwise hold any body in memory); past
// it the client gets 413 and the connection ends. Window thread.

#include <QTcpServer>
#include <QTcpSocket>

class BoundedTcpServer : public QTcpServer {
public:
    static constexpr int kMaxConnections = 256;
    // The largest upload, its form and its headers.
    static constexpr qint64 kMaxRequestBytes = 1024 * 1024 + 64 * 1024;

    explicit BoundedTcpServer(QObject* parent = nullptr) : QTcpServer(parent) {}

    // A request on `socket` was read whole: its bytes no longer count.
    static void RequestTaken(QTcpSocket* socket);
    int connections() const { return connections_; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void countReceived(QTcpSocket* socket);

    int connections_ = 0;
};
