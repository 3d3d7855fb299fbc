#include "transmit/QueueFileSender.h"

#include "app/ProgramState.h"
#include "net/MessageQueueing.h"
#include "platform/Waits.h"
#include "transmit/FileTransmitter.h"
#include "transmit/MorseKeyer.h"
#include "transmit/TimerControl.h"
#include "transmit/TransmitterControl.h"

void QueueFileSender::sendUnlessCancelled(const std::string& name, bool onlyWithHeader) {
    if (p_.state.transferCancel) return;
    if (onlyWithHeader && !p_.state.headerEnable) return;
    p_.files.TXFile(name, p_.state.MODE);
}

void QueueFileSender::SendFramed(const std::string& name) {
    p_.transmitter.CmTX();
    bool cw = p_.state.MODE == kModeCw;
    if (cw) {
        p_.timers.OnTimer(TimerControl::kStartMorse);
        p_.waits.WaitTicks(MorseKeyer::kLeadTicks);
    } else {
        p_.transmitter.SendIdleSequence(3, 7, 0);
    }
    sendUnlessCancelled("header.txt", true);
    sendUnlessCancelled(name, false);
    sendUnlessCancelled("footer.txt", true);
    if (cw)
        p_.timers.OnTimer(TimerControl::kStopMorse);
    else if (!p_.state.transferCancel)
        p_.transmitter.SendIdleSequence(0, 5, 3);
    p_.messages.SweepApprovedFolder();
}
