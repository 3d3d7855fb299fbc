#include "web/WebAccess.h"

#include <arpa/inet.h>

#include <QByteArray>
#include <algorithm>
#include <cctype>

namespace WebAccess {

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool sameInConstantTime(const std::string& given, const std::string& expected) {
    unsigned char difference = given.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ expected[i % std::max<std::size_t>(expected.size(), 1)]);
    return difference == 0;
}

}  // namespace

bool IsLoopback(const std::string& address) {
    in_addr parsed{};
    if (::inet_pton(AF_INET, address.c_str(), &parsed) != 1) return false;
    return (ntohl(parsed.s_addr) >> 24) == 127;
}

std::optional<std::string> ListenRefusal(const std::string& address, const std::string& password) {
    in_addr parsed{};
    if (::inet_pton(AF_INET, address.c_str(), &parsed) != 1)
        return "KOVAWebAddress \"" + address + "\" is not an IPv4 address";
    if (password.empty() && !IsLoopback(address))
        return "KOVAWebAddress " + address + " is beyond this machine and KOVAWebPassword is empty";
    return std::nullopt;
}

bool PasswordGiven(const std::string& authorization, const std::string& password) {
    const std::string scheme = "basic ";
    if (!startsWith(lowerCase(authorization.substr(0, scheme.size())), scheme)) return false;
    QByteArray decoded = QByteArray::fromBase64(QByteArray::fromStdString(authorization.substr(scheme.size())));
    qsizetype colon = decoded.indexOf(':');
    if (colon < 0) return false;
    return sameInConstantTime(decoded.mid(colon + 1).toStdString(), password);
}

bool OriginIsOwnPage(const std::string& origin, const std::string& host) {
    if (origin.empty()) return true;
    std::size_t schemeEnd = origin.find("://");
    if (schemeEnd == std::string::npos) return false;
    return lowerCase(origin.substr(schemeEnd + 3)) == lowerCase(host);
}

BodyKind KindOfBody(const std::string& contentType) {
    std::string type = lowerCase(contentType.substr(0, contentType.find(';')));
    type.erase(std::remove(type.begin(), type.end(), ' '), type.end());
    if (type == "application/json") return BodyKind::Json;
    if (type == "application/octet-stream") return BodyKind::Upload;
    if (type == "multipart/form-data") return BodyKind::Form;
    return BodyKind::Refused;
}

}  // namespace WebAccess
