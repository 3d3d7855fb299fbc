#pragma once
// Who may use the browser's service: the address it may listen on, the
// password a request gives, and whether a request that changes the station
// comes from the station's own page. Pure.

#include <optional>
#include <string>

namespace WebAccess {

// Why the service must not listen on `address` with `password` (a text for
// the log), or nothing when it may: an address that is not IPv4 text, or one
// beyond loopback without a password.
std::optional<std::string> ListenRefusal(const std::string& address, const std::string& password);

bool IsLoopback(const std::string& address);

// An "Authorization: Basic ..." value carrying `password` (any user name).
// Compared in time that does not tell how much of a guess was right.
bool PasswordGiven(const std::string& authorization, const std::string& password);

// A browser names the page that sent a request in Origin; it must be the
// station's own (the Host the browser asked). A request without Origin comes
// from a program, not from a forged page.
bool OriginIsOwnPage(const std::string& origin, const std::string& host);

// Content types a page of another site cannot send without asking first,
// and the multipart form of the upload, whose Origin must then be there.
enum class BodyKind { Json, Upload, Form, Refused };
BodyKind KindOfBody(const std::string& contentType);

}  // namespace WebAccess
