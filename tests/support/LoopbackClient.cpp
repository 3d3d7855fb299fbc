#include "support/LoopbackClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

int FreeLoopbackPort() {
    int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(probe);
    return port;
}
