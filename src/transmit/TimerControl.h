#pragma once
// OnTimer: the window's two timers and the program's commands for them.
// Timer 5 (the clock) hands each tick to the transmit cycle; timer 6 counts
// morseTick for the Morse keyer. Commands: 0 start the clock, 3 stop it and
// run one last tick, 7 start the Morse tick, 8 stop it. No timer to be had
// is fatal. Window thread only.

#include <functional>

#include "platform/WindowTimers.h"

class EventLog;
struct ProgramState;

class TimerControl {
public:
    static constexpr int kStartClock = 0;
    static constexpr int kStopClock = 3;
    static constexpr int kStartMorse = 7;
    static constexpr int kStopMorse = 8;

    using FatalExit = std::function<void(int exitCode)>;

    TimerControl(ProgramState& state, WindowTimers& timers, EventLog& log, FatalExit fatalExit);

    void OnTimer(int idOrCommand);
    void setClockTick(std::function<void()> tick) { clockTick_ = std::move(tick); }

private:
    void start(int timerId, int periodMs);
    void clockTick();

    ProgramState& state_;
    WindowTimers& timers_;
    EventLog& log_;
    FatalExit fatalExit_;
    std::function<void()> clockTick_;
};
