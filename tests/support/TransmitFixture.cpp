#include "support/TransmitFixture.h"

#include <sys/stat.h>

#include <cstdlib>

#include "app/CommandIds.h"
#include "support/LogReading.h"

namespace {
std::shared_ptr<Capture> pacedCapture() {
    auto capture = std::make_shared<Capture>();
    capture->periodTime = std::chrono::milliseconds(5);
    return capture;
}
}  // namespace

TransmitFixture::TransmitFixture()
    : sound(pacedCapture()),
      station(state, {window, clock, time, time, time, driver, [this](int code) { exits.push_back(code); }, {},
                      CaptureDevices(sound), &psk}) {
    ::mkdir("log", 0777);
    ::mkdir("data", 0777);
    clock.setLocal(2026, 12, 9, 10, 0, 0);
    ::setenv("TARVIK_COM1", pty.slavePath().c_str(), 1);
    time.everyPump = [this] { air += pty.readAvailable(0); };
    // The clock runs from start-up on; every timed wait counts its ticks.
    station.timerControl.OnTimer(TimerControl::kStartClock);
}

TransmitFixture::~TransmitFixture() {
    station.line.CloseCommPort();
    ::unsetenv("TARVIK_COM1");
}

void TransmitFixture::openPort() {
    station.serialMenus.ChooseComPort(Id::ComDisabled);
    station.serialMenus.ChooseComPort(Id::Com1);
    driver.takeEvents();
}

void TransmitFixture::writeData(const std::string& name, const std::string& bytes) {
    WriteBinaryFile("data/" + name, bytes);
}

std::vector<std::string> TransmitFixture::logMessages() { return LogMessages(window); }

std::vector<std::string> TransmitFixture::logMessagesFrom(const std::string& first) { return LogMessagesFrom(window, first); }

bool TransmitFixture::logged(const std::string& message) { return Logged(window, message); }
