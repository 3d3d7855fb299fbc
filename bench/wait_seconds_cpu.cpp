// CPU share of one core that WaitSeconds costs on the window thread, with the
// real Qt pump and the one-second clock timer advancing timerTick.
// Prints the median of several runs; the goal is below 1 %.

#include <sys/resource.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/ProgramState.h"
#include "platform/QtEventPump.h"
#include "platform/QtWindowTimers.h"
#include "platform/Waits.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    int seconds = argc > 2 ? std::atoi(argv[2]) : 5;

    ProgramState state;
    QtEventPump pump;
    Waits waits(pump, state.timerTick, state.morseTick);
    QtWindowTimers timers;
    timers.setHandler([&](int) { ++state.timerTick; });
    timers.start(kClockTimerId, kClockTimerPeriodMs);

    std::vector<double> shares;
    for (int run = 0; run < runs; ++run) {
        double cpuBefore = cpuSeconds();
        auto wallBefore = std::chrono::steady_clock::now();
        waits.WaitSeconds(seconds);
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        shares.push_back(100.0 * (cpuSeconds() - cpuBefore) / wall);
    }
    std::sort(shares.begin(), shares.end());
    std::printf("WaitSeconds(%d) on the window thread: %.3f %% of one core (median of %d runs)\n", seconds,
                shares[shares.size() / 2], runs);
    return 0;
}
