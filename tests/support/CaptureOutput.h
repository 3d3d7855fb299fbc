#pragma once
// A sound device for tests that plays instantly into memory: every sample
// written is kept in order. It can refuse to open with a code, or stop taking
// samples after some periods (a card that hangs), so the sound device's own
// waits and codes can be seen. The recording outlives the device: tests keep
// the shared Capture while the modulator creates and destroys devices.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/AudioOutput.h"
#include "sound/CSound.h"

struct Capture {
    std::vector<int16_t> samples() const;
    std::vector<int> openedIds() const;
    int drops() const;
    // Most devices that were open at one time.
    int mostOpenAtOnce() const;
    // Set before the device opens.
    int openResult = 0;
    int stallAfterPeriods = -1;  // -1: never
    // Real time each period takes, so a modulator cannot race ahead unbounded.
    std::chrono::microseconds periodTime{0};

    mutable std::mutex lock;
    std::vector<int16_t> played;
    std::vector<int> ids;
    int dropCount = 0;
    int openNow = 0;
    int mostOpen = 0;
};

class CaptureOutput : public AudioOutput {
public:
    CaptureOutput(std::shared_ptr<Capture> capture, int deviceId) : capture_(std::move(capture)), id_(deviceId) {}

    int open(const AudioLayout& layout) override;
    bool waitForRoom(std::chrono::milliseconds limit) override;
    Write write(const int16_t* samples, int frames) override;
    int queuedFrames() override { return 0; }
    void start() override {}
    void drop() override;
    void close() override;
    std::string lastError() const override { return stalled_ ? "stalled" : ""; }

private:
    std::shared_ptr<Capture> capture_;
    int id_;
    int periodsTaken_ = 0;
    bool stalled_ = false;
    bool open_ = false;
};

// Devices for CSound that all record into `capture`.
CSound::DeviceFactory CaptureDevices(std::shared_ptr<Capture> capture);
