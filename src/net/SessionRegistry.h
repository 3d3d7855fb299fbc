#pragma once
// The live sessions of the four services: how many each service holds (never
// more than its limit), the socket of each, so that Kill and the station's
// stop can shut it down while it is still the session's, and the session
// threads, joined once they have ended. Listener threads start sessions,
// session threads end them, the window thread shuts them down; one lock
// guards it all, and nothing else is done while it is held.

#include <array>
#include <atomic>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class SessionRegistry {
public:
    static constexpr int kServices = 4;

    explicit SessionRegistry(int perServiceLimit) : limit_(perServiceLimit) {}
    ~SessionRegistry();
    SessionRegistry(const SessionRegistry&) = delete;
    SessionRegistry& operator=(const SessionRegistry&) = delete;

    void setLimit(int perServiceLimit);
    // Takes a place for a session of the service; false when it holds its limit.
    bool reserve(int service);
    // Runs `body` on a thread of its own as the session of `socket`, in the
    // place reserved for it; false (the place given back, the socket still
    // the caller's) when the system has no thread to give.
    bool start(int service, int socket, std::function<void()> body);
    // Shuts a live session's socket down and leaves closing it to the
    // session; false when no live session owns that number.
    bool shutdownSocket(int socket);
    void shutdownAll();
    // The session gives its number up just before it closes the socket, so
    // a number the system hands out again is never shut down by mistake.
    void forget(int socket);
    // Sessions whose threads have not ended.
    int live();
    // Joins the threads that have ended; with `all`, waits for every one.
    void join(bool all);

private:
    struct Session {
        std::thread thread;
        bool ended = false;
    };
    void finished(int service, Session& session);

    int limit_;
    std::mutex lock_;
    std::array<int, kServices> counts_{};
    std::map<int, int> sockets_;
    // Shared with the session's own thread, which marks it ended.
    std::list<std::shared_ptr<Session>> sessions_;
};
