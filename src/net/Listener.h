#pragma once
// One TCP service's listening thread (MTServerThread1..4): listens on the
// service's port, logs each connection with the peer's address, and starts
// the session on a thread of its own, in a place of the service's limited
// number (and of the smaller number one address may hold). A connection
// beyond a limit gets the service's refusal line and is closed. Owns the
// listening socket and its thread, which the station's stop ends.

#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "net/NetLimits.h"
#include "net/SessionRegistry.h"

class EventLog;
class SessionSocket;

struct ListenerService {
    int index;
    const char* threadName;
    // What the connect line calls the service: "SMTP E-Mail", ...
    const char* connectName;
    // Sent to a connection that finds the service at its limit.
    std::string refusal;
};

class Listener {
public:
    using SessionBody = std::function<void(SessionSocket& socket, const std::string& address)>;

    Listener(ListenerService service, int port, std::atomic<int32_t>& listenSocket, EventLog& log,
             SessionRegistry& sessions, const NetLimits& limits, SessionBody session);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    void start();
    // The stop in two steps, so the window thread can go on pumping (a log
    // line of the listener waits for it) until the thread has ended.
    void requestStop();
    bool ended() const { return ended_; }
    void join();

    // "%03d.%03d.%03d.%03d" of an address in network order.
    static std::string AddressText(uint32_t networkOrder);

private:
    void run();
    bool listen();
    bool bindPort(int socket, const sockaddr_in& local);
    bool restUnlessStopped(std::chrono::milliseconds rest);
    void accepted(int socket, uint32_t peer);
    void refuse(int socket, SessionRegistry::Admission reason, uint32_t peer);
    void closeListenSocket();
    bool waitForConnection();

    ListenerService service_;
    int port_;
    std::atomic<int32_t>& listenSocket_;
    EventLog& log_;
    SessionRegistry& sessions_;
    const NetLimits& limits_;
    SessionBody session_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> ended_{false};
    // Written by the stop to wake the thread from its wait for connections.
    int wake_;
    bool refusing_ = false;
    SessionRegistry::Admission refusedFor_ = SessionRegistry::Admission::Admitted;
    uint32_t refusedPeer_ = 0;
    bool acceptFailing_ = false;
    std::thread thread_;
};
