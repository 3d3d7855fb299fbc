#include "coding/SerialLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Controls.h"

namespace {

struct TxLineInfo {
    int id;
    const char* logName;
    const char* label;
    bool keysRts;
    bool keysDtr;
};

// The identification keys the same line as the transmitter in every setting.
constexpr TxLineInfo kTxLines[] = {
    {Id::TxLineDisabled, "ID_RS232CONTROL_DISABLED", "Not set", false, false},
    {Id::TxLineRts, "ID_RS232CONTROL_RTS", "RTS=xmit", true, false},
    {Id::TxLineDtr, "ID_RS232CONTROL_DTR", "DTR=xmit", false, true},
    {Id::TxLineRtsXmit, "ID_RS232CONTROL_RTSXMIT", "RTS=xmit DTR=cwid", true, false},
    {Id::TxLineDtrXmit, "ID_RS232CONTROL_DTRXMIT", "DTR=xmit DTR=cwid", false, true},
};

const TxLineInfo* findTxLine(int id) {
    for (const TxLineInfo& info : kTxLines)
        if (info.id == id) return &info;
    return nullptr;
}

std::string fatalOpenText(const std::string& name) {
    return "Could not open comm port [ " + name +
           " ],\nthis is a fatal error. Port does \nnot exist or is already occupied.\n\n"
           "Please check system for available ports.\n\nExiting on your OK";
}

}  // namespace

SerialLine::SerialLine(ProgramState& state, SerialDriver& driver, EventLog& log, Controls& window,
                       FatalExit fatalExit)
    : state_(state), driver_(driver), log_(log), window_(window), fatalExit_(std::move(fatalExit)) {}

const char* SerialLine::TxLineLabel(int txLine) {
    const TxLineInfo* info = findTxLine(txLine);
    return info ? info->label : "";
}

const char* SerialLine::TxLineLogName(int txLine) {
    const TxLineInfo* info = findTxLine(txLine);
    return info ? info->logName : "";
}

// The port is swapped under the lock, so a write never meets a half-opened
// port; what is logged or shown comes after it: a box runs its own message
// loop and the log may pump, and either may re-enter SendCode, which takes
// that lock on this same thread.
int SerialLine::OpenCommPort(const std::string& name, float baud, int parity, int byteSize, int stopBits,
                             OnFailure onFailure) {
    OpenAttempt attempt = swapPort(name, ComputeLineSettings(baud, parity, byteSize, stopBits));
    if (attempt.closedPrevious) log_.writef("Comm Port \"%s\" closed", attempt.previousName.c_str());
    if (!attempt.tried) return 0;
    if (attempt.fd < 0) return refuseOpen(name, attempt, onFailure);
    log_.writef("\"%s\" BAUD=%.1f Bits=%d Parity=%d Stopbits=%d %s", name.c_str(),
                static_cast<double>(state_.BAUD.load()), byteSize, parity, stopBits, TxLineLabel(state_.TxLine));
    if (attempt.configured == ConfigureResult::Refused)
        log_.writef("OpenCommPort : \"%s\" (%s) refused the line settings: %s", name.c_str(),
                    attempt.device.c_str(), std::strerror(attempt.error));
    else if (attempt.configured == ConfigureResult::DataBitsNotKept)
        log_.writef("OpenCommPort : \"%s\" (%s) does not take %d data bits", name.c_str(), attempt.device.c_str(),
                    byteSize);
    return 0;
}

SerialLine::OpenAttempt SerialLine::swapPort(const std::string& name, const LineSettings& settings) {
    std::lock_guard<std::mutex> hold(portLock_);
    OpenAttempt attempt;
    if (state_.commHandle != kNoPortHandle) {
        attempt.closedPrevious = true;
        attempt.previousName = state_.m_CommPort;
        closeLocked();
        state_.commOpen = 0;
    }
    // "NULL": no port was ever configured, so nothing is opened.
    if (state_.m_CommPort == "NULL") return attempt;
    attempt.tried = true;
    state_.m_CommPort = name;
    attempt.device = DevicePathForPort(name);
    attempt.fd = driver_.openExclusive(attempt.device);
    if (attempt.fd < 0) {
        attempt.error = errno;
        return attempt;
    }
    driver_.purge(attempt.fd);
    attempt.configured = driver_.configure(attempt.fd, settings);
    attempt.error = errno;
    state_.commHandle = attempt.fd;
    state_.commOpen = 1;
    driver_.setModemLine(attempt.fd, ModemLine::Dtr, false);
    driver_.setModemLine(attempt.fd, ModemLine::Rts, false);
    return attempt;
}

int SerialLine::refuseOpen(const std::string& name, const OpenAttempt& attempt, OnFailure onFailure) {
    if (onFailure == OnFailure::LogAndGoOn) {
        log_.writef("OpenCommPort : Could not open comm port [ %s ] (%s): %s, running without a port", name.c_str(),
                    attempt.device.c_str(), std::strerror(attempt.error));
        return -1;
    }
    window_.messageBox(fatalOpenText(name), "Tarvik Comm Port Critical Error", MessageButtons::Ok,
                       MessageIcon::Error);
    fatalExit_(-1);
    return -1;
}

void SerialLine::CloseCommPort() {
    std::lock_guard<std::mutex> hold(portLock_);
    closeLocked();
}

void SerialLine::closeLocked() {
    int fd = state_.commHandle.exchange(kNoPortHandle);
    if (fd == kNoPortHandle) return;
    driver_.setModemLine(fd, ModemLine::Dtr, false);
    driver_.setModemLine(fd, ModemLine::Rts, false);
    driver_.purge(fd);
    driver_.close(fd);
}

void SerialLine::setLine(ModemLine line, bool on) {
    std::lock_guard<std::mutex> hold(portLock_);
    int fd = state_.commHandle;
    if (fd != kNoPortHandle) driver_.setModemLine(fd, line, on);
}

void SerialLine::KeyTransmitLine(bool on) {
    const TxLineInfo* info = findTxLine(state_.TxLine);
    if (info == nullptr) return;
    if (info->keysRts) setLine(ModemLine::Rts, on);
    if (info->keysDtr) setLine(ModemLine::Dtr, on);
}

void SerialLine::SetDtr(bool on) { setLine(ModemLine::Dtr, on); }

void SerialLine::SetBreak(bool on) {
    std::lock_guard<std::mutex> hold(portLock_);
    int fd = state_.commHandle;
    if (fd != kNoPortHandle) driver_.setBreak(fd, on);
}

void SerialLine::ProbeCommPorts() {
    for (int n = 1; n <= kCommPortCount; ++n) {
        bool available = driver_.probe(DevicePathForPort("COM" + std::to_string(n)));
        state_.commPortAvailable[n] = available ? 1 : 0;
        window_.enableMenuItem(Id::Com1 + n - 1, available);
    }
}

void SerialLine::EnableSerialMenus(bool enable) {
    for (int id = Id::BaudFirst; id <= Id::BaudLast; ++id) window_.enableMenuItem(id, enable);
    for (int id = Id::TxLineDisabled; id <= Id::TxLineDtrXmit; ++id) window_.enableMenuItem(id, enable);
    window_.enableMenuItem(Id::DovetronComputer, enable);
    window_.enableMenuItem(Id::DovetronTeletype, enable);
}

SerialLine::Outcome SerialLine::writeByte(uint8_t byte) {
    int reason = 0;
    {
        std::lock_guard<std::mutex> hold(portLock_);
        int fd = state_.commHandle;
        if (fd == kNoPortHandle) return Outcome::NoPort;
        switch (driver_.writeByte(fd, byte)) {
            case WriteResult::Written: return Outcome::Written;
            case WriteResult::Retry: return Outcome::Retry;
            case WriteResult::Failed: reason = errno; break;
        }
    }
    // Logged outside the port lock: the log may wait for the window thread,
    // which may be waiting for this lock to reopen the port.
    log_.writef("SendCode : write to \"%s\" failed: %s", state_.m_CommPort.get().c_str(), std::strerror(reason));
    return Outcome::Failed;
}

int SerialLine::outputQueued() {
    std::lock_guard<std::mutex> hold(portLock_);
    int fd = state_.commHandle;
    return fd == kNoPortHandle ? 0 : driver_.outputQueued(fd);
}
