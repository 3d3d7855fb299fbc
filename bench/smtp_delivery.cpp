// SMTP intake under load: deliveries a second and the 99th percentile of the
// time from a DATA transfer's end mark to the station's reply, for 1 and 8
// concurrent clients and bodies of 1 KB and 30 KB. Each delivery is a whole
// session (greeting, HELO, MAIL, RCPT, DATA, QUIT) over loopback; the station
// stores, screens and queues every message (through the window thread,
// which this program's main thread plays), with the message file synced to
// disk before the reply. Run by hand: smtp_delivery [deliveries per client].

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CommandIds.h"
#include "app/Station.h"
#include "coding/TermiosSerialDriver.h"
#include "platform/CallPoster.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/WindowTimers.h"
#include "support/FakeControls.h"
#include "support/RecordingPsk31.h"

namespace {

using Steady = std::chrono::steady_clock;

// The main thread as the window thread: it runs the calls that sessions
// post; no timer ever fires, so no transmission starts.
class BenchWindowThread : public EventPump, public CallPoster, public WindowTimers {
public:
    void pumpMessages() override {
        if (std::this_thread::get_id() != owner_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return;
        }
        std::deque<std::function<void()>> calls;
        {
            std::lock_guard<std::mutex> hold(lock_);
            calls.swap(posted_);
        }
        for (auto& call : calls) call();
        if (calls.empty()) std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    void post(std::function<void()> call) override {
        std::lock_guard<std::mutex> hold(lock_);
        posted_.push_back(std::move(call));
    }
    bool start(int, int) override { return true; }
    void stop(int) override {}
    bool running(int) const override { return false; }

private:
    std::thread::id owner_ = std::this_thread::get_id();
    std::mutex lock_;
    std::deque<std::function<void()>> posted_;
};

class Connection {
public:
    explicit Connection(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) std::exit(2);
        // The end mark goes out on its own, at once.
        int noDelay = 1;
        ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    }
    ~Connection() { ::close(socket_); }
    void send(const std::string& bytes) {
        for (std::size_t sent = 0; sent < bytes.size();) {
            ssize_t n = ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) std::exit(3);
            sent += static_cast<std::size_t>(n);
        }
    }
    // Reads until `lines` replies have come.
    std::string replies(int lines) {
        std::string got;
        while (std::count(got.begin(), got.end(), '\n') < lines) {
            char buffer[1024];
            ssize_t n = ::recv(socket_, buffer, sizeof buffer, 0);
            if (n <= 0) std::exit(4);
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

private:
    int socket_;
};

// One delivery; returns the seconds from the end mark to the reply.
double deliver(int port, const std::string& message) {
    Connection c(port);
    c.replies(1);
    c.send("HELO bench\r\nMAIL FROM:<bench@example.com>\r\nRCPT TO:<kova@station.example>\r\nDATA\r\n");
    c.replies(4);
    c.send(message.substr(0, message.size() - 5));
    Steady::time_point markSent = Steady::now();
    c.send(message.substr(message.size() - 5));
    std::string reply = c.replies(1);
    double seconds = std::chrono::duration<double>(Steady::now() - markSent).count();
    if (reply.find("250 message succesfully stored") != 0) {
        std::fprintf(stderr, "unexpected reply: %s", reply.c_str());
        std::exit(5);
    }
    c.send("QUIT\r\n");
    c.replies(1);
    return seconds;
}

std::string messageOf(std::size_t bodyBytes, int client, int number) {
    std::string message = "From: Bench\r\nTo: kova@station.example\r\nSubject: Bench " + std::to_string(client) + "-" +
                          std::to_string(number) + "\r\n\r\n";
    std::string line = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789\r\n";
    while (message.size() < bodyBytes) message += line;
    message.resize(bodyBytes);
    return message + "\r\n.\r\n";
}

}  // namespace

int main(int argc, char** argv) {
    int perClient = argc > 1 ? std::atoi(argv[1]) : 50;
    char folder[] = "/tmp/tarvik-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return 1;
    for (const char* made : {"log", "data", "data/badwords", "data/moderatedwords", "data/approvedmoderatedwords"})
        ::mkdir(made, 0777);

    ProgramState state;
    FakeControls window;
    SystemClock clock;
    BenchWindowThread windowThread;
    TermiosSerialDriver serial;
    RecordingPsk31 psk;
    Station station(state, {window, clock, windowThread, windowThread, windowThread, serial,
                            [](int code) { std::exit(code); }, {}, {}, &psk});
    state.KOVAAutoLine72 = 72;
    state.scheduleTempPath = "data\\schedule_temp.lst";
    state.badWords.replace({"DARN", "HECK"});
    state.moderatedWords.replace({"POLITICS"});
    state.SMTP_Port_Number1 = 0;
    {
        // A free loopback port for the primary service.
        int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        state.SMTP_Port_Number1 = ntohs(address.sin_port);
        ::close(probe);
    }
    NetLimits limits;
    limits.bindAddress = INADDR_LOOPBACK;
    station.network.setLimits(limits);
    station.network.StartNetworkServices();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int port = state.SMTP_Port_Number1;

    std::printf("%-8s %-8s %12s %14s %14s\n", "clients", "body", "deliveries/s", "median ms", "p99 ms");
    for (int clients : {1, 8}) {
        for (std::size_t body : {std::size_t{1024}, std::size_t{30 * 1024}}) {
            window.listReset(Id::QueueList);
            std::vector<double> latencies;
            std::mutex latencyLock;
            std::atomic<int> running{clients};
            Steady::time_point start = Steady::now();
            std::vector<std::thread> threads;
            for (int client = 0; client < clients; ++client) {
                threads.emplace_back([&, client] {
                    for (int n = 0; n < perClient; ++n) {
                        double seconds = deliver(port, messageOf(body, client, n + static_cast<int>(body)));
                        std::lock_guard<std::mutex> hold(latencyLock);
                        latencies.push_back(seconds);
                    }
                    --running;
                });
            }
            while (running > 0) windowThread.pumpMessages();
            for (std::thread& thread : threads) thread.join();
            double wall = std::chrono::duration<double>(Steady::now() - start).count();
            std::sort(latencies.begin(), latencies.end());
            auto percentile = [&](double p) {
                return 1000.0 * latencies[std::min(latencies.size() - 1, static_cast<std::size_t>(p * latencies.size()))];
            };
            std::printf("%-8d %-8s %12.1f %14.2f %14.2f\n", clients, body == 1024 ? "1 KB" : "30 KB",
                        static_cast<double>(latencies.size()) / wall, percentile(0.5), percentile(0.99));
        }
    }
    station.network.Stop();
    std::string cleanup = std::string("rm -rf ") + folder;
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
