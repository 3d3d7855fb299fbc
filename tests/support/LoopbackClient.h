#pragma once
// A test's own TCP client on the loopback address, for raw SMTP dialogues
// and telnet users: sends bytes, and reads until a text arrives while the
// caller's pump keeps the station's window thread going.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

class LoopbackClient {
public:
    // From `source`, any address of 127.0.0.0/8, as another host would come.
    explicit LoopbackClient(int port, const char* source = "127.0.0.1");
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool connected() const { return socket_ >= 0; }
    void send(std::string_view bytes);
    // Reads until everything received holds `text` (counted from the last
    // take()), the peer closes, or `limit` passes; returns what came.
    std::string readUntil(std::string_view text, const std::function<void()>& pump,
                          std::chrono::milliseconds limit = std::chrono::seconds(10));
    // Reads until the peer closes its side.
    std::string readToEnd(const std::function<void()>& pump, std::chrono::milliseconds limit = std::chrono::seconds(10));
    // What came since the last take, and starts afresh.
    std::string take();
    bool peerClosed() const { return peerClosed_; }
    // Closes our side for writing, or the whole socket.
    void finishSending();
    void close();

private:
    void readAvailable();

    int socket_ = -1;
    std::string received_;
    bool peerClosed_ = false;
};

// A port nobody listens on now, for a listener to take.
int FreeLoopbackPort();
