#include "net/SessionSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "net/SessionRegistry.h"

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A client that takes nothing for this long loses the rest of a send.
constexpr milliseconds kSendWait{2000};

int remainingMs(Steady::time_point end) {
    auto left = std::chrono::duration_cast<milliseconds>(end - Steady::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 1 << 30));
}

// -1 on failure, 0 when the time ran out, else 1; EINTR waits on.
int pollFor(int socket, short events, milliseconds limit) {
    Steady::time_point end = Steady::now() + limit;
    for (;;) {
        pollfd entry{socket, events, 0};
        int ready = ::poll(&entry, 1, remainingMs(end));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || (ready > 0 && (entry.revents & POLLNVAL))) return -1;
        return ready;
    }
}

}  // namespace

int SessionSocket::PollReceive(char* buffer, int size) {
    bool timedOut = false;
    return receiveWithin(buffer, size, limits_.pollWait, timedOut);
}

int SessionSocket::WaitReceive(char* buffer, int size) {
    bool timedOut = false;
    return receiveWithin(buffer, size, limits_.receiveWait, timedOut);
}

int SessionSocket::WaitReceiveBefore(char* buffer, int size, Deadline end) {
    bool timedOut = false;
    return receiveBefore(buffer, size, end, timedOut);
}

int SessionSocket::WaitReceiveSmtp(char* buffer, int size) {
    bool timedOut = false;
    int received = receiveBefore(buffer, size, sessionEnd_, timedOut);
    if (timedOut) {
        send(kTimeoutReply);
        close();
    }
    return received;
}

// Past `end` nothing more is taken: a client that sends without pause always
// has bytes waiting, and a poll without time still reports them.
int SessionSocket::receiveBefore(char* buffer, int size, Deadline end, bool& timedOut) {
    timedOut = Steady::now() >= end;
    if (timedOut) return 0;
    return receiveWithin(buffer, size, std::min(limits_.receiveWait, milliseconds(remainingMs(end))), timedOut);
}

int SessionSocket::receiveWithin(char* buffer, int size, milliseconds limit, bool& timedOut) {
    if (socket_ < 0) return -1;
    int ready = pollFor(socket_, POLLIN, limit);
    if (ready <= 0) {
        timedOut = ready == 0;
        return ready;
    }
    for (;;) {
        ssize_t got = ::recv(socket_, buffer, static_cast<std::size_t>(size), 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        if (got == 0) peerClosed_ = true;
        return got < 0 ? -1 : static_cast<int>(got);
    }
}

void SessionSocket::WaitWritable() {
    if (socket_ >= 0) pollFor(socket_, POLLOUT, limits_.writableWait);
}

void SessionSocket::send(std::string_view bytes) {
    while (socket_ >= 0 && !bytes.empty()) {
        ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            stalled_ = false;
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Once a client has let a send run out of time, later sends do not
            // wait for it at all until it reads again.
            if (stalled_ || pollFor(socket_, POLLOUT, kSendWait) <= 0) {
                stalled_ = true;
                return;
            }
        } else {
            return;
        }
    }
}

void SessionSocket::shutdown() {
    if (socket_ >= 0) ::shutdown(socket_, SHUT_RDWR);
}

void SessionSocket::close() {
    if (socket_ < 0) return;
    if (registry_ != nullptr) registry_->forget(socket_);
    ::close(socket_);
    socket_ = -1;
}
