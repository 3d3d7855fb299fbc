#pragma once
// One SMTP transfer after "354": its bytes taken from the socket, freed of
// the transfer's dot-stuffing and end line. A transfer of the size mail
// usually has is held in memory; a larger one goes on into a spool file of
// its own in the working directory, which goes when the transfer ends
// whatever its outcome (a file made and removed for every message makes the
// file system look past thousands of freed entries for each new file). A
// transfer larger than the limit is refused. Spool files that a killed
// process left behind are removed before the services start.

#include <cstddef>
#include <string>
#include <string_view>

class EventLog;
class SessionSocket;
struct NetLimits;

class MailSpool {
public:
    // What Receive gives once the end line came; otherwise a StoreResult code.
    static constexpr int kReceived = 1;
    // The bytes held in memory before the spool file is made.
    static constexpr std::size_t kHeldInMemoryBytes = 16 * 1024;

    MailSpool(EventLog& log, const NetLimits& limits);
    ~MailSpool();
    MailSpool(const MailSpool&) = delete;
    MailSpool& operator=(const MailSpool&) = delete;

    int Receive(SessionSocket& socket);
    // The received bytes; false, with a log line, when they could not be written or read back.
    bool Finish(std::string& received);

    static void RemoveLeftovers(EventLog& log);

private:
    bool append(std::string_view bytes);
    bool spill();
    bool write(std::string_view bytes);

    EventLog& log_;
    const NetLimits& limits_;
    std::string held_;
    int fd_ = -1;
    std::string path_;
};
