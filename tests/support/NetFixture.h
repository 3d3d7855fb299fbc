#pragma once
// The whole station with its network services, for tests that connect real
// clients over the loopback address: the sessions run on their own threads,
// while the test's thread is the window thread on simulated time (the clock
// timer runs, posted calls run on its pumps). The serial line is on a
// pseudo-terminal drained into `air`, the PSK31 recorder sends a character
// a pump; the working directory is fresh, with
// log/ and data/ and the three word-list folders. Listeners bind to the
// loopback address only, on free ports.

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "app/Station.h"
#include "net/NetLimits.h"
#include "support/FakeControls.h"
#include "support/ModemLineRecorder.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingPsk31.h"
#include "support/SharedSimulatedTime.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

struct NetFixture {
    NetFixture();
    ~NetFixture();

    // All four services on free ports, with `limits` as the test left them.
    void startServices();
    // COM1 on the pseudo-terminal, opened as the operator would.
    void openPort();
    // One pump of the window thread, for the clients' waits.
    std::function<void()> pump() {
        return [this] { time.pumpMessages(); };
    }
    // Runs `client` on a thread of its own while this thread pumps; its result.
    template <typename Client>
    auto whilePumping(Client client) {
        auto done = std::async(std::launch::async, std::move(client));
        while (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) time.pumpMessages();
        return done.get();
    }
    bool waitLogged(const std::string& message, std::chrono::milliseconds limit = std::chrono::seconds(10));
    std::vector<std::string> logMessages();
    // The log messages from the first one equal to `first` on.
    std::vector<std::string> logMessagesFrom(const std::string& first);
    bool logged(const std::string& message);
    int timesLogged(const std::string& message);
    std::vector<std::string> queueEntries() { return window.list(Id::QueueList); }

    TempDir dir;
    ProgramState state;
    FakeControls window;
    TestClock clock;
    SharedSimulatedTime time{clock};
    PseudoTerminal pty;
    ModemLineRecorder driver;
    RecordingPsk31 psk;
    std::vector<int> exits;
    Station station;
    std::string air;
    NetLimits limits;
    int smtpPort1 = 0;
    int smtpPort2 = 0;
    int chatPort = 0;
    int adminPort = 0;
};

struct ProcessResult {
    int status = -1;
    std::string output;
};

// Runs a shell command, with its standard error joined to its output.
ProcessResult RunCommand(const std::string& command);
// Runs a Python 3 program given as text.
ProcessResult RunPython(const std::string& program);
