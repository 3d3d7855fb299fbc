#include "transmit/StandaloneTransmission.h"

#include "app/ProgramState.h"
#include "transmit/CwIdentification.h"
#include "transmit/FileTransmitter.h"
#include "transmit/SessionControl.h"
#include "transmit/TransmitterControl.h"

void StandaloneTransmission::Send(const std::string& name) {
    state_.localLock = 1;
    session_.CmDisable();
    transmitter_.CmTX();
    transmitter_.SendIdleSequence(3, 3, 0);
    state_.notSending = 0;
    files_.TXFile(name, state_.MODE);
    transmitter_.SendIdleSequence(0, 3, 3);
    transmitter_.CmRX();
    state_.localLock = 0;
    cwid_.SendDeferred();
}
