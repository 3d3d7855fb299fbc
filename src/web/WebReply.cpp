#include "web/WebReply.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* reasonPhrase(int status) {
    switch (status) {
        case 200: return "OK";
        case 400: return "Bad Request";
        case 401: return "Unauthorized";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 413: return "Payload Too Large";
        case 507: return "Insufficient Storage";
        default: return "Error";
    }
}

}  // namespace

WebReply WebReply::Json(const QJsonValue& value, int status) {
    QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return {status, document.toJson(QJsonDocument::Compact), "application/json"};
}

WebReply WebReply::Error(int status, const std::string& text) {
    return Json(QJsonObject{{"error", QString::fromLatin1(text)}}, status);
}

QByteArray WebReply::Bytes(bool closeAfter) const {
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    bytes += "Content-Type: " + contentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    bytes += "Cache-Control: no-store\r\n";
    bytes += "X-Content-Type-Options: nosniff\r\n";
    bytes += "X-Frame-Options: DENY\r\n";
    bytes += "Content-Security-Policy: default-src 'self'; connect-src 'self' ws: wss:; frame-ancestors 'none'\r\n";
    if (status == 401) bytes += "WWW-Authenticate: Basic realm=\"Tarvik\", charset=\"UTF-8\"\r\n";
    if (closeAfter) bytes += "Connection: close\r\n";
    return bytes + "\r\n" + body;
}
