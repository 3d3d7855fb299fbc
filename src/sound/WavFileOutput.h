#pragma once
// The sound device as a WAV file played at the pace of a real card: a ring of
// periods that a player thread of its own drains in real time into the file,
// starting at the start threshold and stopping on an underrun, as a card does.
// Lets an operator check a station without a radio, and tests capture the air.
// The writer is the modulator thread; the player thread owns the file.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "sound/AudioOutput.h"
#include "sound/WavFile.h"

class WavFileOutput : public AudioOutput {
public:
    explicit WavFileOutput(std::string path) : path_(std::move(path)) {}
    ~WavFileOutput() override;

    int open(const AudioLayout& layout) override;
    bool waitForRoom(std::chrono::milliseconds limit) override;
    Write write(const int16_t* samples, int frames) override;
    int queuedFrames() override;
    void start() override;
    void drop() override;
    void close() override;
    std::string lastError() const override;

private:
    using Clock = std::chrono::steady_clock;

    void play();
    bool takeNextPeriod(std::unique_lock<std::mutex>& hold, std::vector<int16_t>& period);
    void startPlaying();
    int capacity() const { return static_cast<int>(ring_.size()); }

    std::string path_;
    WavFile file_;
    AudioLayout layout_;
    std::thread player_;

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<int16_t> ring_;
    int head_ = 0;    // oldest queued sample
    int queued_ = 0;  // samples queued, the period now sounding included
    bool playing_ = false;
    bool underrun_ = false;
    bool stalled_ = false;  // the file refused samples: the device takes no more
    bool quit_ = false;
    unsigned dropCount_ = 0;
    Clock::time_point nextEnd_;
    std::string error_;
};
