#pragma once
// The transmitter switch (CmTX, CmRX) and the idle sequences around a
// transmission. Keys the configured serial line, starts and stops the
// modulator or the PSK31 carrier. Runs on the window thread, and on chat
// session threads for their own transmissions.

#include <atomic>

class Controls;
class EventLog;
class ModulatorControl;
class OutputRouter;
class Psk31Library;
class SerialLine;
class SoundCardMenu;
class Waits;
struct ProgramState;

class TransmitterControl {
public:
    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        Waits& waits;
        SerialLine& line;
        Psk31Library& psk;
        OutputRouter& router;
        ModulatorControl& modulator;
        SoundCardMenu& soundMenu;
    };

    explicit TransmitterControl(const Parts& parts) : p_(parts) {}

    void CmTX();
    void CmRX();
    // a seconds of carrier, b seconds of LTRS (silence in ASCII), c seconds of carrier.
    void SendIdleSequence(int a, int b, int c);

private:
    // What transmitter-on started, so transmitter-off stops it even when the
    // mode changed in between.
    enum Started { kNothingStarted, kPskStarted, kModemStarted };
    void stopPsk();

    Parts p_;
    std::atomic<int> started_{kNothingStarted};
};
