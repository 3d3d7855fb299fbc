#pragma once
// The whole station on simulated time, for the transmit cycle: a fake window,
// the serial line on a pseudo-terminal (drained into `air` on every pump,
// with the modem lines recorded), a recording PSK31 library and sound devices
// that record into memory at a real card's pace, in a fresh working directory with log/ and data/. The clock timer
// runs, as it does from start-up on.

#include <string>
#include <vector>

#include "app/Station.h"
#include "support/FakeControls.h"
#include "support/ModemLineRecorder.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingPsk31.h"
#include "support/SimulatedTime.h"
#include "support/TempDir.h"
#include "support/TestClock.h"
#include "support/CaptureOutput.h"

struct TransmitFixture {
    TransmitFixture();
    ~TransmitFixture();

    // COM1 on the pseudo-terminal, opened as the operator would.
    void openPort();
    void writeData(const std::string& name, const std::string& bytes);
    std::vector<std::string> logMessages();
    // The log messages from the first one equal to `first` on.
    std::vector<std::string> logMessagesFrom(const std::string& first);
    bool logged(const std::string& message);

    TempDir dir;
    ProgramState state;
    FakeControls window;
    TestClock clock;
    SimulatedTime time{clock};
    PseudoTerminal pty;
    ModemLineRecorder driver;
    RecordingPsk31 psk;
    std::shared_ptr<Capture> sound;
    std::vector<int> exits;
    Station station;
    std::string air;
};
