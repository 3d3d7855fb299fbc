#pragma once
// The operating system's serial ports as the station needs them: exclusive
// open, line settings, one-byte writes, the driver's output queue, the modem
// control lines and the break state. One implementation on termios2; tests add
// a small recorder for the modem lines, which pseudo-terminals do not have.

#include <cstdint>
#include <string>

// Line settings as computed from the station's values.
struct LineSettings {
    unsigned speed = 45;     // whole baud
    int dataBits = 5;        // 5..8
    bool twoStopBits = true; // CSTOPB: 1.5 stop bits on 5-bit words
    int parity = 0;          // 0 none
};

// Speed truncated to whole baud (45.45 gives 45); stop-bits code 1 (one and a
// half) and 2 set CSTOPB, code 0 does not.
LineSettings ComputeLineSettings(float baud, int parity, int byteSize, int stopBitsCode);

enum class ModemLine { Rts, Dtr };

enum class WriteResult { Written, Retry, Failed };

enum class ConfigureResult { Applied, Refused, DataBitsNotKept };

class SerialDriver {
public:
    virtual ~SerialDriver() = default;
    // Exclusive open of an existing device; a descriptor, or -1 with errno set.
    virtual int openExclusive(const std::string& devicePath) = 0;
    // Open for reading and close at once: can this port be had now?
    virtual bool probe(const std::string& devicePath) = 0;
    // DataBitsNotKept: the device took the call but not the word size (many USB
    // adapters have no 5-bit words). Pseudo-terminals, which always report 8, are not checked.
    virtual ConfigureResult configure(int fd, const LineSettings& settings) = 0;
    virtual void purge(int fd) = 0;
    // One byte; Retry for a full queue or an interrupted call, Failed (errno) for a dead port.
    virtual WriteResult writeByte(int fd, uint8_t byte) = 0;
    // Bytes the driver still holds for the line.
    virtual int outputQueued(int fd) = 0;
    // False where the device has no such line; that is not an error.
    virtual bool setModemLine(int fd, ModemLine line, bool on) = 0;
    virtual bool setBreak(int fd, bool on) = 0;
    virtual void close(int fd) = 0;
};

// COM1..COM8: TARVIK_COM<n> when set, else /dev/ttyS<n-1>. Other names stay as they are.
std::string DevicePathForPort(const std::string& portName);
