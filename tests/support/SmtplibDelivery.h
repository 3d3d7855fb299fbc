#pragma once
// One delivery by Python's smtplib, a real mail client, to a station port:
// EHLO, MAIL, RCPT and, when the recipient is taken, DATA and QUIT. Safe to
// run on several threads at once.

#include <string>

// `message` has lines ending in \n (smtplib sends CR LF); returns the DATA
// reply as printed ("250 message succesfully stored as ...\n"), or
// "refused CODE TEXT\n" for a recipient turned away.
std::string SmtplibDelivery(int port, const std::string& message, const std::string& to = "kova@station.example");

// The printed reply to a message stored and queued as `name`.
std::string SmtplibStored(const std::string& name);
