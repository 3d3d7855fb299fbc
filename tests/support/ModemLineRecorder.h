#pragma once
// The real termios driver with the modem-control lines and the break state
// recorded, since a pseudo-terminal has neither. Everything else goes to the
// real port.

#include <mutex>
#include <string>
#include <vector>

#include "coding/TermiosSerialDriver.h"

class ModemLineRecorder : public TermiosSerialDriver {
public:
    bool setModemLine(int fd, ModemLine line, bool on) override {
        std::lock_guard<std::mutex> hold(lock_);
        events_.push_back(std::string(line == ModemLine::Rts ? "RTS" : "DTR") + (on ? "+" : "-"));
        return true;
    }
    bool setBreak(int fd, bool on) override {
        std::lock_guard<std::mutex> hold(lock_);
        events_.push_back(on ? "BREAK+" : "BREAK-");
        return true;
    }
    std::vector<std::string> takeEvents() {
        std::lock_guard<std::mutex> hold(lock_);
        return std::exchange(events_, {});
    }

private:
    std::mutex lock_;
    std::vector<std::string> events_;
};
