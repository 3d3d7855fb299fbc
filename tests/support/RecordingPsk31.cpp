#include "support/RecordingPsk31.h"

#include <algorithm>

void RecordingPsk31::record(const std::string& call) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back(call);
}

int RecordingPsk31::OpenSoundCard(int soundCardId) {
    record("Open " + std::to_string(soundCardId));
    return openResult;
}
void RecordingPsk31::CloseSoundCard() { record("Close"); }
void RecordingPsk31::StartTransmit() { record("Start"); }
void RecordingPsk31::StopTransmit() { record("Stop"); }
void RecordingPsk31::AbandonTransmit() { record("Abandon"); }
void RecordingPsk31::SetCarrierFrequency(int hertz) { record("Frequency " + std::to_string(hertz)); }
void RecordingPsk31::SetCwIdText(const std::string& text) { record("CwIdText " + text); }

void RecordingPsk31::QueueCharacter(int code, int control) {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back("Queue " + std::to_string(code) + "," + std::to_string(control));
    characters_.push_back(code);
    ++pending_;
    maxPending_ = std::max(maxPending_, pending_);
}

int RecordingPsk31::PendingCharacters() {
    std::lock_guard<std::mutex> hold(lock_);
    return pending_;
}

void RecordingPsk31::sendOne() {
    std::lock_guard<std::mutex> hold(lock_);
    if (pending_ > 0) --pending_;
}

void RecordingPsk31::FlushQueue() {
    std::lock_guard<std::mutex> hold(lock_);
    calls_.push_back("Flush");
    pending_ = 0;
}

std::vector<std::string> RecordingPsk31::calls() { std::lock_guard<std::mutex> hold(lock_); return calls_; }
std::vector<int> RecordingPsk31::characters() { std::lock_guard<std::mutex> hold(lock_); return characters_; }
int RecordingPsk31::maxPendingSeen() { std::lock_guard<std::mutex> hold(lock_); return maxPending_; }
