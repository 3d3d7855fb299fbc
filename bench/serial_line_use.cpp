// Line use of a fast serial line: the share of the time the line is busy
// while the station sends ASCII at 9,600 baud through a driver with an output
// queue that the line empties at its speed (pseudo-terminals do not pace).
// The router must keep it busy, not add a pause per byte. Prints the median
// of several runs; the goal is at least 95 %.

#include <sys/stat.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <vector>

#include "app/Station.h"
#include "coding/SerialDriver.h"
#include "platform/CallPoster.h"
#include "platform/Clock.h"
#include "platform/QtEventPump.h"
#include "platform/QtWindowTimers.h"
#include "support/FakeControls.h"
#include "support/RecordingPsk31.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// A driver with an output queue that the line empties at its speed.
class PacedSerialDriver : public SerialDriver {
public:
    void setLine(double baud, double bitsPerCharacter) {
        characterTime_ = std::chrono::duration_cast<SteadyClock::duration>(
            std::chrono::duration<double>(bitsPerCharacter / baud));
    }
    int openExclusive(const std::string&) override { return 3; }
    bool probe(const std::string&) override { return true; }
    ConfigureResult configure(int, const LineSettings&) override { return ConfigureResult::Applied; }
    void purge(int) override {}
    WriteResult writeByte(int, uint8_t) override {
        if (outputQueued(0) >= kQueueBytes) return WriteResult::Retry;
        busyUntil_ = std::max(busyUntil_, SteadyClock::now()) + characterTime_;
        ++written;
        return WriteResult::Written;
    }
    int outputQueued(int) override {
        auto left = busyUntil_ - SteadyClock::now();
        return left <= SteadyClock::duration::zero() ? 0 : static_cast<int>(left / characterTime_) + 1;
    }
    // Seconds of line time the characters written since `from` took.
    double lineSeconds(long from) const {
        return std::chrono::duration<double>(characterTime_).count() * static_cast<double>(written - from);
    }
    bool setModemLine(int, ModemLine, bool) override { return true; }
    bool setBreak(int, bool) override { return true; }
    void close(int) override {}
    long written = 0;

private:
    static constexpr int kQueueBytes = 4096;
    SteadyClock::duration characterTime_{};
    SteadyClock::time_point busyUntil_{};
};

double secondsOf(const std::function<void()>& work) {
    auto before = SteadyClock::now();
    work();
    return std::chrono::duration<double>(SteadyClock::now() - before).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int runs = argc > 1 ? std::atoi(argv[1]) : 3;

    char folder[] = "/tmp/tarvik-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return 1;
    mkdir("log", 0777);
    mkdir("data", 0777);
    std::ofstream("data/fast.txt") << std::string(9600, 'R');

    ProgramState state;
    FakeControls window;
    SystemClock clock;
    QtEventPump pump;
    QtWindowTimers timers;
    QtCallPoster poster;
    PacedSerialDriver driver;
    RecordingPsk31 psk;
    Station station(state, {window, clock, pump, timers, poster, driver, [](int code) { std::exit(code); }, {}, {}, &psk});
    station.timerControl.OnTimer(TimerControl::kStartClock);
    station.serialMenus.ChooseComPort(32797);
    station.serialMenus.ChooseComPort(32798);
    state.BAUD = 9600.0f;
    state.DATABITS = 8;
    driver.setLine(9600.0, 10.0);

    std::vector<double> use;
    for (int run = 0; run < runs; ++run) {
        long before = driver.written;
        double wall = secondsOf([&] { station.files.TXFile("fast.txt", kModeAscii); });
        use.push_back(100.0 * driver.lineSeconds(before) / wall);
    }
    std::printf("ASCII at 9600 baud: the line busy %.1f %% of the time (median of %d)\n", median(use), runs);
    std::printf("characters written to the serial line: %ld\n", driver.written);
    return 0;
}
