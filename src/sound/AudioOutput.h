#pragma once
// One playback device as the sound device sees it: a ring of `periods`
// periods of 16-bit mono samples that starts playing once `startPeriods` are
// queued. One implementation per file (ALSA, a WAV file paced like a card).
// Used by one writer thread at a time; none of the calls blocks for longer
// than the wait it is given.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

struct AudioLayout {
    unsigned sampleRate = 8000;
    int periodFrames = 0;
    int periods = 10;
    int startPeriods = 6;
};

class AudioOutput {
public:
    enum class Write { Taken, Underrun, Failed };

    virtual ~AudioOutput() = default;

    // 0, or a sound device error code (no such card: 2; a refused format: 32).
    virtual int open(const AudioLayout& layout) = 0;
    // Waits until a whole period fits; false when `limit` passed without room.
    virtual bool waitForRoom(std::chrono::milliseconds limit) = 0;
    // Queues `frames` samples (at most one period, with room for them). Underrun:
    // the device had played everything before; it recovered and took the samples.
    virtual Write write(const int16_t* samples, int frames) = 0;
    // Frames queued and not yet played.
    virtual int queuedFrames() = 0;
    // Starts playing whatever is queued, even below the start threshold.
    virtual void start() = 0;
    // Drops everything queued at once.
    virtual void drop() = 0;
    // Releases the device; what it still holds is lost (drain or drop first).
    virtual void close() = 0;
    // The device's own words for the last failure, for the log.
    virtual std::string lastError() const = 0;
};

// Codes of a failed open: no such card, and a device that refuses 16-bit
// 8000 Hz mono (outside the error table, so it shows the table's last text).
constexpr int kNoSuchDevice = 2;
constexpr int kFormatRefused = 32;
