#include "net/Listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/EventLog.h"
#include "net/SessionRegistry.h"
#include "net/SessionSocket.h"

namespace {
constexpr int kBacklog = 10;
// A failing accept (no descriptors left) is retried after a rest, not in a spin.
constexpr std::chrono::milliseconds kAcceptRest{100};
// Without a wake-up descriptor the wait looks at the stop this often.
constexpr int kStopCheckMs = 200;
}  // namespace

Listener::Listener(ListenerService service, int port, std::atomic<int32_t>& listenSocket, EventLog& log,
                   SessionRegistry& sessions, const NetLimits& limits, SessionBody session)
    : service_(std::move(service)),
      port_(port & 0xFFFF),
      listenSocket_(listenSocket),
      log_(log),
      sessions_(sessions),
      limits_(limits),
      session_(std::move(session)),
      wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

std::string Listener::AddressText(uint32_t networkOrder) {
    const auto* octet = reinterpret_cast<const unsigned char*>(&networkOrder);
    char text[32];
    std::snprintf(text, sizeof text, "%03d.%03d.%03d.%03d", octet[0], octet[1], octet[2], octet[3]);
    return text;
}

void Listener::start() {
    thread_ = std::thread([this] {
        // SIGTERM and SIGINT are the window thread's; the sessions started
        // from here inherit the mask.
        sigset_t windowSignals;
        sigemptyset(&windowSignals);
        sigaddset(&windowSignals, SIGTERM);
        sigaddset(&windowSignals, SIGINT);
        pthread_sigmask(SIG_BLOCK, &windowSignals, nullptr);
        run();
        ended_ = true;
    });
}

Listener::~Listener() {
    requestStop();
    join();
    if (wake_ >= 0) ::close(wake_);
}

void Listener::requestStop() {
    stopping_ = true;
    // A counter that is already full has woken the thread just the same.
    uint64_t one = 1;
    if (wake_ >= 0) {
        ssize_t woken = ::write(wake_, &one, sizeof one);
        (void)woken;
    }
}

void Listener::join() {
    if (thread_.joinable()) thread_.join();
}

void Listener::closeListenSocket() {
    if (listenSocket_ >= 0) ::close(listenSocket_.exchange(-1));
}

// Blocks until a connection waits or the stop wakes the thread; false on the stop.
bool Listener::waitForConnection() {
    for (;;) {
        pollfd waits[2] = {{listenSocket_, POLLIN, 0}, {wake_, POLLIN, 0}};
        int ready = ::poll(waits, 2, wake_ >= 0 ? -1 : kStopCheckMs);
        if (stopping_) return false;
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        if (waits[0].revents != 0) return true;
    }
}

bool Listener::listen() {
    int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    auto failed = [this, socket](const char* call) {
        log_.writef("%s : %s cannot listen on port %d: %s failed: %s", service_.threadName, service_.connectName, port_,
                    call, std::strerror(errno));
        if (socket >= 0) ::close(socket);
        return false;
    };
    if (socket < 0) return failed("socket");
    int reuse = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port_));
    local.sin_addr.s_addr = htonl(limits_.bindAddress);
    if (!bindPort(socket, local)) {
        if (stopping_) {
            ::close(socket);
            return false;
        }
        return failed("bind");
    }
    if (::listen(socket, kBacklog) != 0) return failed("listen");
    // Stored once it listens, so a stored socket means the service is there.
    listenSocket_ = socket;
    return true;
}

// A port still held is tried again for a while: a restarted station races
// its previous process for it.
bool Listener::bindPort(int socket, const sockaddr_in& local) {
    const auto giveUp = std::chrono::steady_clock::now() + limits_.bindRetryFor;
    bool told = false;
    while (::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        if (errno != EADDRINUSE || std::chrono::steady_clock::now() >= giveUp) return false;
        if (!told) {
            log_.writef("%s : %s port %d is in use, trying again every %lld ms for %lld s", service_.threadName,
                        service_.connectName, port_, static_cast<long long>(limits_.bindRetryWait.count()),
                        static_cast<long long>(limits_.bindRetryFor.count() / 1000));
            told = true;
        }
        if (!restUnlessStopped(limits_.bindRetryWait)) return false;
    }
    return true;
}

// False when the stop came during the rest.
bool Listener::restUnlessStopped(std::chrono::milliseconds rest) {
    pollfd wake{wake_, POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + rest;
    while (!stopping_ && std::chrono::steady_clock::now() < end) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        ::poll(&wake, wake_ >= 0 ? 1 : 0, static_cast<int>(std::min<long long>(left.count(), kStopCheckMs)));
    }
    return !stopping_;
}

void Listener::run() {
    if (!listen()) return;
    while (waitForConnection()) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        int socket = ::accept4(listenSocket_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (socket >= 0) {
            acceptFailing_ = false;
            accepted(socket, peer.sin_addr.s_addr);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN) continue;
        if (!acceptFailing_)
            log_.writef("%s : %s accept failed: %s", service_.threadName, service_.connectName, std::strerror(errno));
        acceptFailing_ = true;
        std::this_thread::sleep_for(kAcceptRest);
    }
    closeListenSocket();
}

void Listener::accepted(int socket, uint32_t peer) {
    const SessionRegistry::Place place{service_.index, peer};
    SessionRegistry::Admission admission = sessions_.reserve(place);
    if (admission != SessionRegistry::Admission::Admitted) {
        refuse(socket, admission, peer);
        return;
    }
    refusing_ = false;
    std::string address = AddressText(peer);
    log_.writef("%s : %s Connect from [%s]", service_.threadName, service_.connectName, address.c_str());
    // Replies and echoes go out as they are made, not held for the peer's acknowledgement.
    int noDelay = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    bool started = sessions_.start(place, socket, [this, socket, address] {
        SessionSocket own(socket, limits_, &sessions_);
        session_(own, address);
    });
    if (!started) {
        log_.writef("%s : %s session could not be started", service_.threadName, service_.connectName);
        ::close(socket);
    }
}

// Said once for a run of connections turned away for the same reason.
void Listener::refuse(int socket, SessionRegistry::Admission reason, uint32_t peer) {
    ::send(socket, service_.refusal.data(), service_.refusal.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(socket);
    const bool sameRun = refusing_ && refusedFor_ == reason && (reason == SessionRegistry::Admission::ServiceFull ||
                                                              refusedPeer_ == peer);
    if (sameRun) return;
    refusing_ = true;
    refusedFor_ = reason;
    refusedPeer_ = peer;
    if (reason == SessionRegistry::Admission::ServiceFull)
        log_.writef("%s : %s holds its limit of %d sessions, turning connections away", service_.threadName,
                    service_.connectName, limits_.sessionsPerService);
    else
        log_.writef("%s : %s holds %d sessions from [%s], turning its further connections away", service_.threadName,
                    service_.connectName, limits_.sessionsPerAddress, AddressText(peer).c_str());
}
