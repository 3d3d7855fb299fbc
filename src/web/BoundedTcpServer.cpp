#include "web/BoundedTcpServer.h"

#include "web/WebReply.h"

namespace {

constexpr const char* kReceivedProperty = "tarvikReceived";

QByteArray tooLargeAnswer() {
    std::string limit = std::to_string(BoundedTcpServer::kMaxRequestBytes);
    return WebReply::Error(413, "request larger than " + limit + " bytes").Bytes(true);
}

}  // namespace

void BoundedTcpServer::RequestTaken(QTcpSocket* socket) { socket->setProperty(kReceivedProperty, 0); }

void BoundedTcpServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor) || connections_ >= kMaxConnections) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    // Connected before the HTTP server's own reader, so it counts what that one is about to take.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { countReceived(socket); });
    addPendingConnection(socket);
}

void BoundedTcpServer::countReceived(QTcpSocket* socket) {
    qint64 received = socket->property(kReceivedProperty).toLongLong() + socket->bytesAvailable();
    socket->setProperty(kReceivedProperty, received);
    if (received <= kMaxRequestBytes) return;
    socket->write(tooLargeAnswer());
    socket->flush();
    socket->abort();
}
