#pragma once
// Runs an operation on the window thread for a session thread and waits
// until it has run: the window thread drives the queue and the controls, so
// what enters the queue from the network is carried there. The window thread
// runs posted calls inside every wait of its own (a transmission, a box), so
// the session never waits on a window thread that waits for it. Must not be
// called on the window thread.

#include <atomic>
#include <functional>
#include <memory>

class CallPoster;
struct WindowCallCompletion;

class WindowThreadCall {
public:
    WindowThreadCall(CallPoster& poster, const std::atomic<bool>& stopping) : poster_(poster), stopping_(stopping) {}

    using Ticket = std::shared_ptr<WindowCallCompletion>;

    // True once `call` has run; false when the station stopped before it
    // could (the call is then dropped).
    bool run(std::function<void()> call) { return wait(post(std::move(call))); }
    // The two halves of run. Calls run in the order they were posted: a
    // caller that posts under a lock of its own keeps that order, and may let
    // go of the lock before it waits.
    Ticket post(std::function<void()> call);
    bool wait(const Ticket& ticket);

private:
    CallPoster& poster_;
    const std::atomic<bool>& stopping_;
};
