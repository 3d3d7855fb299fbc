#pragma once
// The station's identification in Morse: cwid.txt sent as text, then the
// identification text keyed (on the serial transmit line, or by the PSK31
// library on its carrier). Once on request or every hour by the automatic
// CW ID timer, which counts in the transmit cycle's steps. Window thread.

class Controls;
class EventLog;
class FileTransmitter;
class MorseKeyer;
class Psk31Library;
class TimerControl;
class TransmitterControl;
class Waits;
struct ProgramState;

class CwIdentification {
public:
    static constexpr int kSecondsBetweenIds = 3600;
    static constexpr int kPskIdSeconds = 15;

    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        Waits& waits;
        Psk31Library& psk;
        TransmitterControl& transmitter;
        FileTransmitter& files;
        MorseKeyer& morse;
        TimerControl& timers;
    };

    explicit CwIdentification(const Parts& parts) : p_(parts) {}

    void Cwid();
    void RestartCwIdTimer();
    // One counted transmit-cycle step of the automatic identification.
    void CountStep();

    // Control menu 32830 "Auto CW ID TImer".
    void ToggleAutoTimer();
    // Control menu 32831 "Send CW ID Now": refused with a box unless the
    // transmitter is on and no session runs.
    void SendNow();
    // Test menu 32775 "Send CWID": at once, or when the running session ends.
    void SendFromTestMenu();
    // Sends an identification asked for during a session, once it has ended.
    void SendDeferred();

private:
    bool transmitterIdle() const;
    void keyText();

    Parts p_;
    bool deferred_ = false;
};
