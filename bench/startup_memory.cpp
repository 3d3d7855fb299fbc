// Start-up time of the program (process start to the "Initialization" log
// line, and to the window shown) and its resident memory after start-up and
// after an hour of the transmit cycle run on simulated time. Headless.

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/window/CTarvikApp.h"
#include "coding/TermiosSerialDriver.h"
#include "support/FakeControls.h"
#include "support/RecordingPsk31.h"
#include "support/SimulatedTime.h"
#include "transmit/TimeTag.h"

namespace {

// Seconds since the process started, from /proc.
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(content.substr(content.rfind(')') + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int index = 3; fields >> field; ++index)
        if (index == 22) startTicks = std::stoull(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

void simulatedHour() {
    ProgramState state;
    FakeControls window;
    TestClock clock;
    clock.set(std::chrono::system_clock::now());
    SimulatedTime time(clock);
    TermiosSerialDriver serial;
    RecordingPsk31 psk;
    Station station(state, {window, clock, time, time, time, serial, [](int code) { std::exit(code); }, {}, {}, &psk});
    station.timerControl.OnTimer(TimerControl::kStartClock);
    std::ofstream("data/news.txt") << std::string(300, 'N');
    for (int entry = 0; entry < 400; ++entry) station.queue.append(FormatQueueEntry(clock.nowSeconds(), "news.txt"));
    station.session.CmEnable();
    time.runFor(std::chrono::hours(1));
    std::printf("simulated hour: %d queue entries left, log list %d lines\n", station.queue.count(),
                window.listCount(1121));
}

}  // namespace

int main(int argc, char** argv) {
    char folder[] = "/tmp/tarvik-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return 1;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    {
        CTarvikApp program;
        program.Start();
        double shown = secondsSinceProcessStart();
        QApplication::processEvents();
        std::printf("start-up to the window shown: %.0f ms (process start to after start-up)\n", shown * 1000);
        std::printf("resident memory after start-up: %ld kB\n", residentKilobytes());
        program.Stop();
    }
    mkdir("data", 0777);
    simulatedHour();
    std::printf("resident memory after an hour of the transmit cycle: %ld kB\n", residentKilobytes());
    return 0;
}
