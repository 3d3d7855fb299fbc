#pragma once
// A connection's socket as its session thread owns it: the timed receives
// and the short wait that every session uses, the sends (which never raise
// SIGPIPE and never wait long on a client that does not read), and the
// close, which only the owner makes. Receives report -1 for a failure, 0 when
// nothing came in time or the peer has closed its side (peerClosed() tells
// which), else the byte count; they do not terminate the bytes.

#include <chrono>
#include <string_view>

#include "net/NetLimits.h"

class SessionRegistry;

class SessionSocket {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // The registry, when given, is told before the socket is closed.
    SessionSocket(int socket, const NetLimits& limits, SessionRegistry* registry = nullptr)
        : socket_(socket), number_(socket), limits_(limits), registry_(registry) {}
    ~SessionSocket() { close(); }
    SessionSocket(const SessionSocket&) = delete;
    SessionSocket& operator=(const SessionSocket&) = delete;

    // The socket's number as accepted, also after the close.
    int number() const { return number_; }
    bool isOpen() const { return socket_ >= 0; }
    bool peerClosed() const { return peerClosed_; }

    // Readable within the poll limit (10 ms).
    int PollReceive(char* buffer, int size);
    // Readable within the receive limit (60 s).
    int WaitReceive(char* buffer, int size);
    // As WaitReceive, but no later than `end`, and nothing once it has passed.
    int WaitReceiveBefore(char* buffer, int size, Deadline end);
    // As WaitReceive, but bounded by the SMTP session's end as well; when the
    // time runs out the client is told so ("552 ...") and the socket closed.
    int WaitReceiveSmtp(char* buffer, int size);
    // Waits at most the writable limit (1 ms) for the socket to take more; only a delay.
    void WaitWritable();

    void setSessionEnd(Deadline end) { sessionEnd_ = end; }
    // Sends what the client's buffer takes within two seconds; the rest is
    // dropped, as a send to a user is never checked. A client that does not
    // read cannot hold a session (and the line it may hold) in a send.
    void send(std::string_view bytes);
    // Ends the connection for both sides; the socket stays open, its number this session's.
    void shutdown();
    void close();

    static constexpr const char* kTimeoutReply = "552 Requested mail action aborted: exceeded timeout\r\n";

private:
    int receiveBefore(char* buffer, int size, Deadline end, bool& timedOut);
    int receiveWithin(char* buffer, int size, std::chrono::milliseconds limit, bool& timedOut);

    int socket_;
    int number_;
    NetLimits limits_;
    SessionRegistry* registry_;
    bool peerClosed_ = false;
    bool stalled_ = false;
    Deadline sessionEnd_ = Deadline::max();
};
