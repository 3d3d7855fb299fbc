#pragma once
// The foundation of the station wired for a test: program state, a fake
// window, a fixed clock, a scripted pump, the log in a fresh working
// directory with its log folder, the serial line on the real termios driver
// (or a driver the test gives), the router and a recording PSK31 library.

#include <memory>
#include <vector>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/OutputRouter.h"
#include "coding/SerialLine.h"
#include "coding/SerialMenus.h"
#include "coding/TermiosSerialDriver.h"
#include "platform/Waits.h"
#include "support/FakeControls.h"
#include "support/RecordingPsk31.h"
#include "support/TempDir.h"
#include "support/TestClock.h"
#include "support/TestPumps.h"

struct StationFixture {
    explicit StationFixture(SerialDriver* driver = nullptr);

    // Lines of today's log file, without their CR LF.
    std::vector<std::string> logLines();
    // The message parts (after " > ") of the window's log list.
    std::vector<std::string> logMessages();

    TempDir dir;
    ProgramState state;
    FakeControls window;
    TestClock clock;
    ScriptedPump pump;
    EventLog log{state, window, clock, pump};
    Waits waits{pump, state.timerTick, state.morseTick};
    TermiosSerialDriver termios;
    std::vector<int> fatalExits;
    SerialLine line;
    RecordingPsk31 psk;
    OutputRouter router{state, log, waits, psk, line};
    SerialMenus menus{state, line, psk, log, window};
};
