#pragma once
// The sound device on an ALSA PCM: S16_LE, mono, the ring as ALSA's buffer
// (one period a character frame, ten periods), playback started by ALSA at
// the start threshold. Opened non-blocking so that a busy or stalled card
// never holds the writer longer than its waits allow. Modulator thread only.

#include <alsa/asoundlib.h>

#include <string>

#include "sound/AudioOutput.h"

class AlsaOutput : public AudioOutput {
public:
    explicit AlsaOutput(std::string pcmName) : name_(std::move(pcmName)) {}
    ~AlsaOutput() override;

    int open(const AudioLayout& layout) override;
    bool waitForRoom(std::chrono::milliseconds limit) override;
    Write write(const int16_t* samples, int frames) override;
    int queuedFrames() override;
    void start() override;
    void drop() override;
    void close() override;
    std::string lastError() const override { return lastError_; }

private:
    int configure(const AudioLayout& layout);
    int fail(const char* step, int alsaError, int code);
    void release();

    std::string name_;
    snd_pcm_t* pcm_ = nullptr;
    snd_pcm_uframes_t bufferFrames_ = 0;
    int periodFrames_ = 0;
    std::string lastError_;
};
