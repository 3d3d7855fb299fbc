#pragma once
// The station's PSK31 modulation library: BPSK31 on a sound card through the
// same sound device as the FSK modem. Opening the card checks it and starts
// an output thread of its own, which sits idle until a transmission starts,
// then sends the queued characters (reversals while none wait) until a stop
// lets it finish with the postamble, or an abandon cuts it off. The calls
// come from the window thread and session threads; the output thread owns
// the sound device while it transmits.

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "coding/Psk31Library.h"
#include "sound/CSound.h"
#include "sound/psk31/Psk31CharacterQueue.h"
#include "sound/psk31/Psk31Sender.h"

class EventLog;
class EventPump;

class Psk31SoundLibrary : public Psk31Library {
public:
    Psk31SoundLibrary(EventLog& log, EventPump& pump, Psk31Sender::MorsePatterns morse,
                      CSound::DeviceFactory devices = {});
    ~Psk31SoundLibrary() override;

    int OpenSoundCard(int soundCardId) override;
    void CloseSoundCard() override;
    void StartTransmit() override;
    void StopTransmit() override;
    void AbandonTransmit() override;
    void SetCarrierFrequency(int hertz) override;
    void SetCwIdText(const std::string& text) override;
    void QueueCharacter(int code, int control) override;
    int PendingCharacters() override;
    void FlushQueue() override;
    bool CanSend() override;

    // True from StartTransmit until that transmission has ended.
    bool Transmitting() const;

    // The PSK31 start report's code for a sound device's open failure.
    static int StartResultFor(int soundErrorCode);

private:
    enum class Phase { Idle, Starting, Transmitting, Closing };

    void outputThread();
    bool waitForStart();
    void transmit();
    bool sendNext(Psk31Sender& sender);
    void dropQueue(const char* reason);

    EventLog& log_;
    EventPump& pump_;
    Psk31Sender::MorsePatterns morse_;
    CSound::DeviceFactory devices_;
    Psk31CharacterQueue queue_;
    std::atomic<int> carrierHertz_{1500};
    std::atomic<bool> abandon_{false};
    std::atomic<bool> threadRunning_{false};

    mutable std::mutex lock_;  // guards what follows
    std::condition_variable wake_;
    int cardId_ = 0;
    bool cardOpen_ = false;
    bool deviceFailed_ = false;  // the last transmission's device failed; the next start tries again
    bool quit_ = false;
    bool stopRequested_ = false;
    Phase phase_ = Phase::Idle;
    std::string cwIdText_;
    std::thread thread_;
};
