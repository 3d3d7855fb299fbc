#include "net/WindowThreadCall.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/CallPoster.h"

// Shared with the posted call, which may outlive a waiter that gave up.
struct WindowCallCompletion {
    std::mutex lock;
    std::condition_variable done;
    bool started = false;
    bool ran = false;
    bool abandoned = false;
};

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kStopCheck{50};
// The station's stop pumps the window thread's calls until the sessions have
// ended; a call it has not started by then is given up.
constexpr std::chrono::seconds kStopGrace{2};

}  // namespace

WindowThreadCall::Ticket WindowThreadCall::post(std::function<void()> call) {
    auto completion = std::make_shared<WindowCallCompletion>();
    poster_.post([completion, work = std::move(call)] {
        {
            std::lock_guard<std::mutex> hold(completion->lock);
            if (completion->abandoned) return;
            completion->started = true;
        }
        work();
        std::lock_guard<std::mutex> hold(completion->lock);
        completion->ran = true;
        completion->done.notify_all();
    });
    return completion;
}

bool WindowThreadCall::wait(const Ticket& completion) {
    std::unique_lock<std::mutex> hold(completion->lock);
    Steady::time_point giveUpAt = Steady::time_point::max();
    while (!completion->ran) {
        if (stopping_ && giveUpAt == Steady::time_point::max()) giveUpAt = Steady::now() + kStopGrace;
        if (!completion->started && Steady::now() >= giveUpAt) {
            completion->abandoned = true;
            return false;
        }
        completion->done.wait_for(hold, kStopCheck);
    }
    return true;
}
