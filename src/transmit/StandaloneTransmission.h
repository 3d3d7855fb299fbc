#pragma once
// One file sent outside the queue's framing (a test text, a file sent by
// hand): the scheduler off, the transmitter on, three seconds of carrier and
// of letters shifts around the file, the transmitter off. It holds the
// session lock while it runs, and sends an identification asked for
// meanwhile when it ends. Window thread.

#include <string>

class CwIdentification;
class FileTransmitter;
class SessionControl;
class TransmitterControl;
struct ProgramState;

class StandaloneTransmission {
public:
    StandaloneTransmission(ProgramState& state, TransmitterControl& transmitter, SessionControl& session,
                           FileTransmitter& files, CwIdentification& cwid)
        : state_(state), transmitter_(transmitter), session_(session), files_(files), cwid_(cwid) {}

    void Send(const std::string& name);

private:
    ProgramState& state_;
    TransmitterControl& transmitter_;
    SessionControl& session_;
    FileTransmitter& files_;
    CwIdentification& cwid_;
};
