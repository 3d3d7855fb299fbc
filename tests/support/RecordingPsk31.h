#pragma once
// A PSK31 library for tests: records every call in order; its character
// queue drains one character at each sendOne(), as a card sending would.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "coding/Psk31Library.h"

class RecordingPsk31 : public Psk31Library {
public:
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
    bool CanSend() override { return canSend; }

    void sendOne();
    std::vector<std::string> calls();
    std::vector<int> characters();
    int openResult = 0;
    // What CanSend answers: false as for a library without an open card.
    std::atomic<bool> canSend{true};
    // Highest pending count seen right after a character was queued.
    int maxPendingSeen();

private:
    void record(const std::string& call);
    std::mutex lock_;
    std::vector<std::string> calls_;
    std::vector<int> characters_;
    int pending_ = 0;
    int maxPending_ = 0;
};
