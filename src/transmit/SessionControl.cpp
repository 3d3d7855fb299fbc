#include "transmit/SessionControl.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/Psk31Library.h"
#include "platform/Controls.h"
#include "transmit/TransmitterControl.h"

void SessionControl::CmPause() {
    if (!state_.localLock) return;
    window_.setText(Id::SessionState, "PAUSE");
    state_.transferSend = 0;
    log_.write("CmPause : Session PAUSED");
}

void SessionControl::CmResume() {
    if (!state_.localLock) return;
    window_.setText(Id::SessionState, "RESUME");
    state_.transferSend = 1;
    log_.write("CmResume : Session RESUMED");
}

void SessionControl::CmCancel() {
    if (!state_.localLock) return;
    if (state_.MODE == kModePsk31)
        psk_.AbandonTransmit();
    else
        transmitter_.CmRX();
    CmDisable();
    window_.setText(Id::SessionState, "CANCEL");
    state_.transferCancel = 1;
    state_.sendNow = 0;
    log_.write("CmCancel : Session CANCELED");
}

void SessionControl::CmEnable() {
    window_.setText(Id::SchedulerState, "ENABLE");
    window_.setText(Id::SessionState, "");
    state_.scheduleEnable = 1;
    state_.transferCancel = 0;
    log_.write("CmEnable : Scheduler ENABLED");
}

void SessionControl::CmDisable() {
    window_.setText(Id::SchedulerState, "DISABLED");
    window_.setText(Id::CountDown, "");
    state_.scheduleEnable = 0;
    state_.sendNow = 0;
    log_.write("CmDisable : Scheduler DISABLED");
}
