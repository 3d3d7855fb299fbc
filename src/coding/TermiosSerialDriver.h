#pragma once
// Serial ports on Linux termios2: any whole speed through BOTHER, raw mode,
// no flow control, TIOCEXCL plus flock for exclusive use.

#include "coding/SerialDriver.h"

struct termios2;

class TermiosSerialDriver : public SerialDriver {
public:
    int openExclusive(const std::string& devicePath) override;
    bool probe(const std::string& devicePath) override;
    ConfigureResult configure(int fd, const LineSettings& settings) override;
    void purge(int fd) override;
    WriteResult writeByte(int fd, uint8_t byte) override;
    int outputQueued(int fd) override;
    bool setModemLine(int fd, ModemLine line, bool on) override;
    bool setBreak(int fd, bool on) override;
    void close(int fd) override;

    // The settings applied on top of what the port had.
    static void Apply(const LineSettings& settings, termios2& tio);
};
