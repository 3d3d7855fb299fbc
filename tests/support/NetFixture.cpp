#include "support/NetFixture.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/CommandIds.h"
#include "support/LogReading.h"
#include "support/LoopbackClient.h"

NetFixture::NetFixture()
    : station(state, {window, clock, time, time.window, time, driver, [this](int code) { exits.push_back(code); }, {},
                      {}, &psk}) {
    for (const char* folder : {"log", "data", "data/badwords", "data/moderatedwords", "data/approvedmoderatedwords"})
        ::mkdir(folder, 0777);
    clock.setLocal(2026, 12, 9, 10, 0, 0);
    ::setenv("TARVIK_COM1", pty.slavePath().c_str(), 1);
    time.window.everyPump = [this] {
        air += pty.readAvailable(0);
        psk.sendOne();
    };
    state.scheduleTempPath = "data\\schedule_temp.lst";
    state.scheduleListPath = "data\\schedule.lst";
    state.KOVAAutoLine72 = 72;
    limits.bindAddress = INADDR_LOOPBACK;
    limits.morseTick = std::chrono::milliseconds(1);
    // A port that is taken is given up soon.
    limits.bindRetryWait = std::chrono::milliseconds(50);
    limits.bindRetryFor = std::chrono::milliseconds(200);
    station.timerControl.OnTimer(TimerControl::kStartClock);
}

NetFixture::~NetFixture() {
    station.network.Stop();
    station.line.CloseCommPort();
    ::unsetenv("TARVIK_COM1");
}

void NetFixture::startServices() {
    smtpPort1 = FreeLoopbackPort();
    smtpPort2 = FreeLoopbackPort();
    chatPort = FreeLoopbackPort();
    adminPort = FreeLoopbackPort();
    state.SMTP_Port_Number1 = smtpPort1;
    state.SMTP_Port_Number2 = smtpPort2;
    state.KOVATelnetPortNumber = chatPort;
    state.KOVAAdminPortNumber = adminPort;
    station.network.setLimits(limits);
    station.network.StartNetworkServices();
    // The listeners are up once their sockets are stored.
    time.runUntil([&] { return state.smtpListenSocket1 >= 0 && state.smtpListenSocket2 >= 0 &&
                               state.chatListenSocket >= 0 && state.adminListenSocket >= 0; },
                  std::chrono::seconds(5));
    time.runFor(std::chrono::milliseconds(50));
}

void NetFixture::openPort() {
    station.serialMenus.ChooseComPort(Id::ComDisabled);
    station.serialMenus.ChooseComPort(Id::Com1);
    driver.takeEvents();
}

bool NetFixture::waitLogged(const std::string& message, std::chrono::milliseconds limit) {
    return time.runUntil([&] { return logged(message); }, limit);
}

std::vector<std::string> NetFixture::logMessages() { return LogMessages(window); }

std::vector<std::string> NetFixture::logMessagesFrom(const std::string& first) { return LogMessagesFrom(window, first); }

bool NetFixture::logged(const std::string& message) { return Logged(window, message); }

int NetFixture::timesLogged(const std::string& message) { return TimesLogged(window, message); }

ProcessResult RunCommand(const std::string& command) {
    ProcessResult result;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ProcessResult RunPython(const std::string& program) {
    static std::atomic<int> count{0};
    std::string path = "client" + std::to_string(++count) + ".py";
    std::ofstream(path) << program;
    // The system's interpreter starts in a fraction of a version manager's shim's time.
    const char* python = ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
    return RunCommand(std::string(python) + " " + path);
}
