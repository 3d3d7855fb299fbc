#include "transmit/TimerControl.h"

#include "app/EventLog.h"
#include "app/ProgramState.h"

TimerControl::TimerControl(ProgramState& state, WindowTimers& timers, EventLog& log, FatalExit fatalExit)
    : state_(state), timers_(timers), log_(log), fatalExit_(std::move(fatalExit)) {
    timers_.setHandler([this](int timerId) { OnTimer(timerId); });
}

void TimerControl::OnTimer(int idOrCommand) {
    switch (idOrCommand) {
        case kStartClock: start(kClockTimerId, kClockTimerPeriodMs); break;
        case kStopClock:
            timers_.stop(kClockTimerId);
            clockTick();
            break;
        case kStartMorse: start(kMorseTimerId, kMorseTimerPeriodMs); break;
        case kStopMorse: timers_.stop(kMorseTimerId); break;
        case kClockTimerId: clockTick(); break;
        case kMorseTimerId: ++state_.morseTick; break;
        default: break;
    }
}

void TimerControl::start(int timerId, int periodMs) {
    if (timers_.start(timerId, periodMs)) return;
    log_.write("OnTimer : Out of Timers - Fatal Abort - Exiting");
    fatalExit_(0);
}

void TimerControl::clockTick() {
    if (clockTick_) clockTick_();
}
