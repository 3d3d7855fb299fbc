#include "net/SessionMorseClock.h"

#include <thread>

// Ticks keep their spacing; after a long pause the count starts afresh.
void SessionMorseClock::pumpMessages() {
    Steady::time_point now = Steady::now();
    if (next_ < now - tick_) next_ = now;
    next_ += tick_;
    std::this_thread::sleep_until(next_);
    ++ticks_;
}
