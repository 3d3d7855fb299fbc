#pragma once
// The Flow buttons (Pause, Resume, CANCEL) that steer a running file session,
// and the Schedule buttons (Enable, Disable) that switch the scheduler.
// A pause or cancel takes effect inside the file transmitter at its next
// character. Window thread.

class Controls;
class EventLog;
class Psk31Library;
class TransmitterControl;
struct ProgramState;

class SessionControl {
public:
    SessionControl(ProgramState& state, EventLog& log, Controls& window, Psk31Library& psk,
                   TransmitterControl& transmitter)
        : state_(state), log_(log), window_(window), psk_(psk), transmitter_(transmitter) {}

    void CmPause();
    void CmResume();
    void CmCancel();
    void CmEnable();
    void CmDisable();

private:
    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    Psk31Library& psk_;
    TransmitterControl& transmitter_;
};
