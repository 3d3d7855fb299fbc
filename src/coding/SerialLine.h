#pragma once
// The station's one serial port: opening and configuring it for the line mode
// and speed, keying the transmitter on RTS or DTR, the Dovetron's keying-source
// line and the break state. Menus run on the window thread; codes are written
// from the window and session threads through writeByte. Opening and closing
// take the same lock as every write, so a write never meets a half-closed port.

#include <functional>
#include <mutex>
#include <string>

#include "coding/SerialDriver.h"

struct ProgramState;
class Controls;
class EventLog;

class SerialLine {
public:
    // How the program ends on a port that cannot be opened; exits with -1.
    using FatalExit = std::function<void(int exitCode)>;

    SerialLine(ProgramState& state, SerialDriver& driver, EventLog& log, Controls& window,
               FatalExit fatalExit);

    // What a port that cannot be opened does: ends the program with its box
    // (the operator chose it), or leaves the station running without a port
    // and says so in the log (a speed, mode or script change).
    enum class OnFailure { Fatal, LogAndGoOn };

    // 0 when the port is open, or nothing was to be opened ("NULL"); -1 after
    // a failure that did not end the program.
    int OpenCommPort(const std::string& name, float baud, int parity, int byteSize, int stopBits,
                     OnFailure onFailure = OnFailure::Fatal);
    void CloseCommPort();
    // Raises or drops the line that TxLine names; nothing for "Disabled" or without a port.
    void KeyTransmitLine(bool on);
    void SetDtr(bool on);
    void SetBreak(bool on);
    void ProbeCommPorts();
    void EnableSerialMenus(bool enable);

    enum class Outcome { Written, Retry, NoPort, Failed };
    // One byte to the open port. Failed is logged once, naming the port and the reason.
    Outcome writeByte(uint8_t byte);
    // True while the driver still holds bytes for the line.
    // Bytes the driver still holds for the line (0 without a port).
    int outputQueued();

    // The label of TxLine in the port's log line, and its log name.
    static const char* TxLineLabel(int txLine);
    static const char* TxLineLogName(int txLine);

private:
    // What swapping the port did, for the log lines written after the lock.
    struct OpenAttempt {
        bool closedPrevious = false;
        std::string previousName;
        bool tried = false;  // false while the port is "NULL"
        std::string device;
        int fd = -1;
        int error = 0;
        ConfigureResult configured = ConfigureResult::Applied;
    };

    OpenAttempt swapPort(const std::string& name, const LineSettings& settings);
    int refuseOpen(const std::string& name, const OpenAttempt& attempt, OnFailure onFailure);
    void closeLocked();
    void setLine(ModemLine line, bool on);

    ProgramState& state_;
    SerialDriver& driver_;
    EventLog& log_;
    Controls& window_;
    FatalExit fatalExit_;
    std::mutex portLock_;
};
