#pragma once
// The station's only way to a sound card for output: opens one device in the
// fixed format, turns the modulator's double samples into 16-bit PCM, hands
// the device one buffer of a character frame at a time and blocks the writer
// while the device's ring of ten such buffers is full (at most 2000 ms).
// Errors are kept as a code (SoundErrors.h). Used by one writer thread at a
// time (the modulator or the PSK31 output thread), which creates and destroys
// it; it owns the device.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sound/AudioOutput.h"

struct WaveFormat {
    uint16_t formatTag = 1;  // PCM
    uint16_t channels = 1;
    uint32_t samplesPerSec = 8000;
    uint32_t avgBytesPerSec = 16000;
    uint16_t blockAlign = 2;
    uint16_t bitsPerSample = 16;
};

// The station's one format, 16-bit mono PCM, at `sampleRate`.
WaveFormat StationFormat(unsigned sampleRate);

class CSound {
public:
    static constexpr int kRingBuffers = 10;
    static constexpr int kStartBuffers = 6;
    static constexpr int kWaitLimitMs = 2000;

    // The device for an id; by default (or empty) the one SoundDeviceName gives.
    using DeviceFactory = std::function<std::unique_ptr<AudioOutput>(int deviceId)>;

    CSound();
    explicit CSound(DeviceFactory factory);
    virtual ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // Device -1 is Auto Mode, 0..3 the cards. bufferLength is in samples;
    // stopAfter > 0 closes the device after that many samples. 0 or a code.
    int OpenOutput(const WaveFormat& format, int bufferLength, unsigned stopAfter, int deviceId);
    // count when taken; -1 on error (see ErrorCode); a count of 0 or the stop
    // limit closes the device and gives -1 if an error was recorded, else 0.
    int WriteSamples(const double* samples, int count);
    // Plays a partly filled last buffer and what is queued, then releases the
    // device. After ResetCounters it drops the queued audio at once instead.
    void CloseOutput();
    // Forgets the fill state and what was queued, without touching the device.
    void ResetCounters();
    int ErrorCode() const { return errorCode_; }
    // The device's name and its own words for the last failure, for the log.
    std::string DeviceDetail() const;

private:
    int closeAndReport();
    bool queueBuffer(int frames);
    int drainOutput();

    DeviceFactory factory_;
    std::unique_ptr<AudioOutput> device_;
    std::string deviceName_;
    std::string lastDetail_;
    std::vector<int16_t> buffer_;
    int bufferFrames_ = 0;
    int fillFrames_ = 0;
    int buffersQueued_ = 0;  // handed to the device since open or ResetCounters
    bool outOpen_ = false;
    int errorCode_ = 0;
    unsigned stopAfter_ = 0;
    unsigned samplesWritten_ = 0;
};
