#pragma once
// The PSK31 modulation library as the station calls it: it owns the sound
// card in PSK31 mode, queues characters and keys the identification itself.
// Called from the window thread and from session threads. The ordinal numbers
// by which the original imported each operation are noted beside them.

#include <string>

class Psk31Library {
public:
    virtual ~Psk31Library() = default;
    // 1: opens the sound card; 0, or an error code of the PSK31 start report.
    virtual int OpenSoundCard(int soundCardId) = 0;
    // 2: closes whatever OpenSoundCard opened; harmless when nothing is open.
    virtual void CloseSoundCard() = 0;
    // 15: starts (or restarts) transmitting.
    virtual void StartTransmit() = 0;
    // 16: stops transmitting.
    virtual void StopTransmit() = 0;
    // 17: abandons the transmission at once.
    virtual void AbandonTransmit() = 0;
    // 18: the carrier frequency in whole Hz.
    virtual void SetCarrierFrequency(int hertz) = 0;
    // 19: the text keyed in Morse on a CW identification request.
    virtual void SetCwIdText(const std::string& text) = 0;
    // 20: queues one character (control 0), or a control request (control 1;
    // request 2 keys the identification text now).
    virtual void QueueCharacter(int code, int control) = 0;
    // 22: characters queued and not yet sent.
    virtual int PendingCharacters() = 0;
    // 23: drops what is queued, so that with StopTransmit nothing more goes out.
    virtual void FlushQueue() = 0;
    // Not one of the original's calls: false while queued characters would
    // never go out (no card open, or the card failed in its last
    // transmission), so that no sender waits on the queue for ever.
    virtual bool CanSend() = 0;
};

constexpr int kPskControlSendCwId = 2;
