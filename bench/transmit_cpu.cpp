// CPU share of one core while the station sends a file at 45.45 baud on the
// serial path and on the sound path, and while it idles with the scheduler
// enabled, on the real Qt event loop and timers. Pseudo-terminals do not
// pace, so the serial driver here holds each character for its line time
// (7.5 bits at 45.45 baud); the sound path plays into the WAV file device,
// which takes samples at a card's pace. The whole process counts, modulator
// thread included. Prints the median of several runs; the goals are below
// 2 % (sending) and 0.5 % (idle).

#include <sys/resource.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "app/Station.h"
#include "coding/SerialDriver.h"
#include "platform/CallPoster.h"
#include "platform/Clock.h"
#include "platform/QtEventPump.h"
#include "platform/QtWindowTimers.h"
#include "support/FakeControls.h"
#include "support/RecordingPsk31.h"
#include "transmit/TimeTag.h"

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

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Measured {
    double share;
    double wall;
};

template <typename Work>
Measured measure(Work work) {
    double cpuBefore = cpuSeconds();
    auto wallBefore = SteadyClock::now();
    work();
    double wall = std::chrono::duration<double>(SteadyClock::now() - wallBefore).count();
    return {100.0 * (cpuSeconds() - cpuBefore) / wall, wall};
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
    int characters = argc > 2 ? std::atoi(argv[2]) : 150;

    char folder[] = "/tmp/tarvik-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return 1;
    mkdir("log", 0777);
    mkdir("data", 0777);
    std::ofstream("data/bench.txt") << std::string(static_cast<std::size_t>(characters), 'R');

    ProgramState state;
    FakeControls window;
    SystemClock clock;
    QtEventPump pump;
    QtWindowTimers timers;
    QtCallPoster poster;
    PacedSerialDriver driver;
    driver.setLine(45.45, 7.5);
    RecordingPsk31 psk;
    Station station(state, {window, clock, pump, timers, poster, driver, [](int code) { std::exit(code); }, {}, {}, &psk});
    station.timerControl.OnTimer(TimerControl::kStartClock);
    station.serialMenus.ChooseComPort(32797);
    station.serialMenus.ChooseComPort(32798);

    std::vector<double> sending, idling, soundSending;
    for (int run = 0; run < runs; ++run) {
        sending.push_back(measure([&] { station.files.TXFile("bench.txt", kModeMilitary); }).share);
        state.checkNoTimer = 0;
        station.queue.append(FormatQueueEntry(clock.nowSeconds() + 3600, "bench.txt"));
        station.session.CmEnable();
        idling.push_back(measure([&] {
                             QTimer::singleShot(10000, &app, &QCoreApplication::quit);
                             app.exec();
                         }).share);
        station.queue.ClearQueue();
    }
    // A fast line: the station must keep it busy, not add a pause per byte.
    std::vector<double> fastUse;
    std::ofstream("data/fast.txt") << std::string(9600, 'R');
    state.BAUD = 9600.0f;
    state.DATABITS = 8;
    driver.setLine(9600.0, 10.0);
    for (int run = 0; run < runs; ++run) {
        long before = driver.written;
        double wall = measure([&] { station.files.TXFile("fast.txt", kModeAscii); }).wall;
        fastUse.push_back(100.0 * driver.lineSeconds(before) / wall);
    }
    state.BAUD = 45.45f;
    state.DATABITS = 5;
    driver.setLine(45.45, 7.5);

    ::setenv("TARVIK_SOUND", "wav:air.wav", 1);
    state.soundCardID = kSoundCardAuto;
    const long serialCharacters = driver.written;
    for (int run = 0; run < runs; ++run) {
        soundSending.push_back(measure([&] {
                                   station.transmitter.CmTX();
                                   station.files.TXFile("bench.txt", kModeMilitary);
                                   station.transmitter.CmRX();
                               }).share);
    }
    // Without a modulator the router falls back to the serial line: that would be no sound figure.
    if (driver.written != serialCharacters) {
        std::fprintf(stderr, "the sound path did not take the characters; is the wav: device writable?\n");
        return 1;
    }
    std::printf("sending %d characters at 45.45 baud on the serial path: %.3f %% of one core (median of %d)\n",
                characters, median(sending), runs);
    std::printf("sending %d characters at 45.45 baud on the sound path: %.3f %% of one core (median of %d)\n",
                characters, median(soundSending), runs);
    std::printf("idle with the scheduler enabled: %.3f %% of one core (median of %d)\n", median(idling), runs);
    std::printf("ASCII at 9600 baud: the line busy %.1f %% of the time (median of %d)\n", median(fastUse), runs);
    std::printf("characters written to the serial line: %ld\n", driver.written);
    return 0;
}
