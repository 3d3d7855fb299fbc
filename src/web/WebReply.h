#pragma once
// One answer of the browser's service and its bytes on the wire: JSON
// unless it is a page file, never cached, never framed by another site's
// page, scripts only from the page itself.

#include <QByteArray>
#include <QJsonValue>
#include <string>

struct WebReply {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";

    static WebReply Json(const QJsonValue& value, int status = 200);
    static WebReply Error(int status, const std::string& text);

    // Status line, headers and body; a 401 asks for the password.
    QByteArray Bytes(bool closeAfter) const;
};
