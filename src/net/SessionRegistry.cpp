#include "net/SessionRegistry.h"

#include <sys/socket.h>

#include <system_error>
#include <vector>

SessionRegistry::~SessionRegistry() { join(true); }

void SessionRegistry::setLimits(int perServiceLimit, int perAddressLimit) {
    std::lock_guard<std::mutex> hold(lock_);
    limit_ = perServiceLimit;
    addressLimit_ = perAddressLimit;
}

SessionRegistry::Admission SessionRegistry::reserve(const Place& place) {
    join(false);
    std::lock_guard<std::mutex> hold(lock_);
    int& count = counts_.at(static_cast<std::size_t>(place.service));
    if (count >= limit_) return Admission::ServiceFull;
    int& fromPeer = addressCounts_[place];
    if (fromPeer >= addressLimit_) return Admission::AddressFull;
    ++count;
    ++fromPeer;
    return Admission::Admitted;
}

bool SessionRegistry::start(const Place& place, int socket, std::function<void()> body) {
    std::lock_guard<std::mutex> hold(lock_);
    auto session = std::make_shared<Session>();
    try {
        session->thread = std::thread([this, place, session, run = std::move(body)] {
            run();
            std::lock_guard<std::mutex> hold(lock_);
            release(place);
            session->ended = true;
        });
    } catch (const std::system_error&) {
        release(place);
        return false;
    }
    sockets_[socket] = place.service;
    sessions_.push_back(session);
    return true;
}

// Under the lock.
void SessionRegistry::release(const Place& place) {
    --counts_[static_cast<std::size_t>(place.service)];
    auto fromPeer = addressCounts_.find(place);
    if (fromPeer != addressCounts_.end() && --fromPeer->second <= 0) addressCounts_.erase(fromPeer);
}

bool SessionRegistry::shutdownSocket(int socket) {
    std::lock_guard<std::mutex> hold(lock_);
    if (sockets_.count(socket) == 0) return false;
    ::shutdown(socket, SHUT_RDWR);
    return true;
}

void SessionRegistry::shutdownAll() {
    std::lock_guard<std::mutex> hold(lock_);
    for (const auto& [socket, service] : sockets_) ::shutdown(socket, SHUT_RDWR);
}

void SessionRegistry::forget(int socket) {
    std::lock_guard<std::mutex> hold(lock_);
    sockets_.erase(socket);
}

int SessionRegistry::live() {
    std::lock_guard<std::mutex> hold(lock_);
    int running = 0;
    for (const auto& session : sessions_)
        if (!session->ended) ++running;
    return running;
}

// Threads are taken out under the lock and joined outside it: a session that
// is still ending needs the lock to say so.
void SessionRegistry::join(bool all) {
    std::vector<std::thread> ending;
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (all || (*it)->ended) {
                ending.push_back(std::move((*it)->thread));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (std::thread& thread : ending)
        if (thread.joinable()) thread.join();
}
