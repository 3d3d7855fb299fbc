#include "support/LoopbackClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

namespace {
sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}
}  // namespace

LoopbackClient::LoopbackClient(int port, const char* source) {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in from = loopback(0);
    ::inet_pton(AF_INET, source, &from.sin_addr);
    sockaddr_in address = loopback(port);
    if (socket_ >= 0 && (::bind(socket_, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
                         ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0))
        close();
}

LoopbackClient::~LoopbackClient() { close(); }

void LoopbackClient::send(std::string_view bytes) {
    while (socket_ >= 0 && !bytes.empty()) {
        ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

void LoopbackClient::readAvailable() {
    if (socket_ < 0 || peerClosed_) return;
    pollfd entry{socket_, POLLIN, 0};
    while (::poll(&entry, 1, 0) > 0) {
        char buffer[4096];
        ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
        if (got <= 0) {
            peerClosed_ = true;
            return;
        }
        received_.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string LoopbackClient::readUntil(std::string_view text, const std::function<void()>& pump,
                                      std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        readAvailable();
        if (received_.find(text) != std::string::npos || peerClosed_ || std::chrono::steady_clock::now() >= end)
            return received_;
        pump();
    }
}

std::string LoopbackClient::readToEnd(const std::function<void()>& pump, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!peerClosed_ && std::chrono::steady_clock::now() < end) {
        readAvailable();
        pump();
    }
    return received_;
}

std::string LoopbackClient::take() {
    readAvailable();
    std::string taken;
    taken.swap(received_);
    return taken;
}

void LoopbackClient::finishSending() {
    if (socket_ >= 0) ::shutdown(socket_, SHUT_WR);
}

void LoopbackClient::close() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
}

namespace {

// Below the kernel's range for ports it picks itself (bind to 0, a client's
// own end), in a block of its own for each test process: two tests running
// at once never pick each other's ports, as probing for a port the kernel
// picked let them.
constexpr int kFirstTestPort = 20000;
constexpr int kPortsAProcess = 12;
constexpr int kProcessBlocks = 1000;

bool bindable(int port) {
    int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int reuse = 1;
    ::setsockopt(probe, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address = loopback(port);
    const bool free = ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return free;
}

}  // namespace

int FreeLoopbackPort() {
    static std::atomic<int> next{0};
    const int block = kFirstTestPort + (static_cast<int>(::getpid()) % kProcessBlocks) * kPortsAProcess;
    for (int tries = 0; tries < kPortsAProcess; ++tries) {
        const int port = block + next++ % kPortsAProcess;
        if (bindable(port)) return port;
    }
    return 0;
}
