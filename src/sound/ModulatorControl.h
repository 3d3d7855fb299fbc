#pragma once
// The sound card modem's part of transmitter-on and transmitter-off: the tone
// plan and a fresh modulator thread at every transmitter-on, the stop request
// at transmitter-off. Owns the current CProcThread (the program state's
// `modulator` points to it). Called by CmTX and CmRX on the window thread or a
// session thread; a previous thread is waited for with messages pumped, so a
// message box that thread shows on the window can always be answered.

#include <memory>
#include <mutex>

#include "sound/CProcThread.h"

class Controls;
class EventLog;
class Waits;
struct ProgramState;

class ModulatorControl {
public:
    // `transmitterOff` is the station's CmRX; the modulator thread runs it when
    // its device cannot be opened. Start-up: one modulator, not started.
    ModulatorControl(ProgramState& state, Controls& window, EventLog& log, Waits& waits,
                     CProcThread::TransmitterOff transmitterOff, CSound::DeviceFactory devices = {});
    ~ModulatorControl();
    ModulatorControl(const ModulatorControl&) = delete;
    ModulatorControl& operator=(const ModulatorControl&) = delete;

    // Whether transmitter-on starts the modulator: a teletype mode or ASCII
    // with a sound card chosen.
    static bool SoundModemChosen(const ProgramState& state);

    // Transmitter-on: the tone plan from markTone, spaceTone and the break
    // signal, then a new modulator thread once the previous one has ended.
    void startForTransmit();
    // Transmitter-off: drops a code not yet taken, lets two seconds of idle
    // frames play, then asks the thread to stop (it is not waited for).
    void stopAfterTransmit();
    // Waits, pumping messages, until the current thread has ended.
    void waitForEnd();

private:
    void planTones();
    std::shared_ptr<CProcThread> newModulator();

    ProgramState& state_;
    Controls& window_;
    EventLog& log_;
    Waits& waits_;
    CProcThread::TransmitterOff transmitterOff_;
    CSound::DeviceFactory devices_;
    std::mutex replaceLock_;  // held only to swap the modulator, never while waiting
    std::shared_ptr<CProcThread> current_;  // shared with a waiter, so a swap cannot free it
};
