#pragma once
// The live sessions of the four services: how many each service holds (never
// more than its limit, nor more than its per-address limit from one peer
// address, so one host cannot take every place), the socket of each, so that Kill and the station's
// stop can shut it down while it is still the session's, and the session
// threads, joined once they have ended. Listener threads start sessions,
// session threads end them, the window thread shuts them down; one lock
// guards it all, and nothing else is done while it is held.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class SessionRegistry {
public:
    static constexpr int kServices = 4;

    // A session's place: its service and its peer's address.
    struct Place {
        int service;
        uint32_t peer;
        bool operator<(const Place& other) const {
            return service != other.service ? service < other.service : peer < other.peer;
        }
    };
    enum class Admission { Admitted, ServiceFull, AddressFull };

    SessionRegistry(int perServiceLimit, int perAddressLimit)
        : limit_(perServiceLimit), addressLimit_(perAddressLimit) {}
    ~SessionRegistry();
    SessionRegistry(const SessionRegistry&) = delete;
    SessionRegistry& operator=(const SessionRegistry&) = delete;

    void setLimits(int perServiceLimit, int perAddressLimit);
    // Takes the place unless the service or the peer's address holds its limit.
    Admission reserve(const Place& place);
    // Runs `body` on a thread of its own as the session of `socket`, in the
    // place reserved for it; false (the place given back, the socket still
    // the caller's) when the system has no thread to give.
    bool start(const Place& place, int socket, std::function<void()> body);
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
    void release(const Place& place);

    int limit_;
    int addressLimit_;
    std::mutex lock_;
    std::array<int, kServices> counts_{};
    std::map<Place, int> addressCounts_;
    std::map<int, int> sockets_;
    // Shared with the session's own thread, which marks it ended.
    std::list<std::shared_ptr<Session>> sessions_;
};
