#pragma once
// A pseudo-terminal pair standing in for a serial port: the station opens the
// slave path, the test reads what went out on the master side.

#include <string>

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    // Whatever arrives within `waitMs` of quiet.
    std::string readAvailable(int waitMs = 100);
    // Hangs up the line: writes on the slave side then fail with EIO.
    void closeMaster();

private:
    int master_ = -1;
    std::string slavePath_;
};
