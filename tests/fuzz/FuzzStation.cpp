#include "FuzzStation.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "app/CommandIds.h"
#include "net/SessionSocket.h"

using namespace std::chrono_literals;

namespace {

// The client's side, paced as a person or a mail client would: after each
// line ending in CR LF it waits for the station's answer (at most
// kAnswerWait), after "354" it sends the message without waiting up to its
// end line, and a bare LF or a missing line end sends on at once, so the
// input itself decides which bytes arrive together. Its side is closed when
// all is sent; it reads until the session closes the socket.
class PacedClient {
public:
    static constexpr int kAnswerWaitMs = 20;

    PacedClient(int socket, std::string_view input, bool inMessage)
        : socket_(socket), input_(input), inMessage_(inMessage) {}

    void run() {
        while (!input_.empty() && open_) {
            std::string_view piece = takePiece();
            if (!sendAll(piece)) return;
            if (piece.size() >= 2 && piece.substr(piece.size() - 2) == "\r\n" && !sendingMessage(piece)) awaitAnswer();
        }
        ::shutdown(socket_, SHUT_WR);
        while (open_ && readAnswer(1000)) {
        }
    }

private:
    std::string_view takePiece() {
        std::size_t end = input_.find('\n');
        end = end == std::string_view::npos ? input_.size() : end + 1;
        std::string_view piece = input_.substr(0, end);
        input_.remove_prefix(end);
        return piece;
    }

    // In a message the end line alone waits for the answer.
    bool sendingMessage(std::string_view piece) {
        if (!inMessage_) return false;
        if (piece == ".\r\n") inMessage_ = false;
        return inMessage_;
    }

    bool sendAll(std::string_view bytes) {
        while (!bytes.empty()) {
            pollfd ready{socket_, POLLOUT | POLLIN, 0};
            if (::poll(&ready, 1, 1000) <= 0) return false;
            if ((ready.revents & POLLIN) && !readAnswer(0)) return false;
            if (!(ready.revents & POLLOUT)) continue;
            ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (sent < 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    void awaitAnswer() {
        answered_ = false;
        for (auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
             open_ && !answered_ && std::chrono::steady_clock::now() < end;)
            readAnswer(1);
    }

    // False once the session has closed the socket.
    bool readAnswer(int waitMs) {
        pollfd ready{socket_, POLLIN, 0};
        if (::poll(&ready, 1, waitMs) <= 0) return open_;
        char answer[4096];
        ssize_t got = ::recv(socket_, answer, sizeof answer, MSG_DONTWAIT);
        if (got <= 0) return open_ = got < 0 && errno == EAGAIN;
        answered_ = true;
        if (std::string_view(answer, static_cast<std::size_t>(got)).substr(0, 4) == "354 ") inMessage_ = true;
        return true;
    }

    int socket_;
    std::string_view input_;
    bool inMessage_;
    bool open_ = true;
    bool answered_ = false;
};

}  // namespace

FuzzStation& FuzzStation::get() {
    static FuzzStation station;
    return station;
}

FuzzStation::FuzzStation() {
    fixture.limits.receiveWait = 200ms;
    fixture.limits.smtpSessionLimit = 5s;
    // A chat line pumps a few times a character and waits a second at its
    // end; the fuzzer needs many inputs a second.
    fixture.time.windowRest = std::chrono::microseconds(10);
    fixture.time.sessionRest = std::chrono::microseconds(20);
    fixture.station.network.setLimits(fixture.limits);
}

void FuzzStation::serve(std::string_view input, const std::function<void(SessionSocket&)>& session,
                        ClientStart start) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) throw std::runtime_error("socketpair failed");
    std::atomic<bool> served{false};
    std::thread server([&] {
        SessionSocket socket(ends[0], fixture.limits);
        session(socket);
        served = true;
    });
    std::thread client([&] { PacedClient(ends[1], input, start == ClientStart::InMessage).run(); });
    while (!served) fixture.time.pumpMessages();
    server.join();
    client.join();
    ::close(ends[1]);
}

void FuzzStation::tidy() {
    // TARVIK_FUZZ_LOG=1 shows what each input made the station log, for
    // reproducing a finding by hand.
    if (std::getenv("TARVIK_FUZZ_LOG") != nullptr) {
        for (const std::string& message : fixture.logMessages()) std::fprintf(stderr, "%s\n", message.c_str());
        fixture.window.listReset(Id::LogList);
    }
    removeMessageFiles();
    fixture.window.listReset(Id::QueueList);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("log", ignored)) std::filesystem::remove(entry, ignored);
}

void FuzzStation::removeMessageFiles() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("data", ignored))
        if (entry.is_regular_file(ignored)) std::filesystem::remove(entry, ignored);
}
