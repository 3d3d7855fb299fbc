#include "sound/CSound.h"

#include <chrono>
#include <new>
#include <thread>

#include "sound/SoundDeviceName.h"
#include "sound/SoundErrors.h"

namespace {

constexpr auto kWaitLimit = std::chrono::milliseconds(CSound::kWaitLimitMs);
constexpr auto kDrainPoll = std::chrono::milliseconds(10);

std::unique_ptr<AudioOutput> namedDevice(int deviceId) { return MakeAudioOutput(SoundDeviceName(deviceId)); }

// Truncated toward zero; the low 16 bits are kept (no clipping: the modulator
// stays within range).
int16_t toPcm(double sample) {
    if (!(sample > -1e18 && sample < 1e18)) return 0;  // not a number: silence, not undefined behaviour
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int64_t>(sample) & 0xFFFF));
}

}  // namespace

WaveFormat StationFormat(unsigned sampleRate) {
    WaveFormat format;
    format.samplesPerSec = sampleRate;
    format.avgBytesPerSec = format.blockAlign * sampleRate;
    return format;
}

CSound::CSound() : CSound(namedDevice) {}

CSound::CSound(DeviceFactory factory) : factory_(factory ? std::move(factory) : namedDevice) {}

CSound::~CSound() { CloseOutput(); }

std::string CSound::DeviceDetail() const {
    std::string detail = device_ ? device_->lastError() : lastDetail_;
    return "\"" + deviceName_ + "\"" + (detail.empty() ? "" : ": " + detail);
}

int CSound::OpenOutput(const WaveFormat& format, int bufferLength, unsigned stopAfter, int deviceId) {
    CloseOutput();
    stopAfter_ = stopAfter;
    ResetCounters();
    errorCode_ = SoundError::kNone;
    lastDetail_.clear();
    deviceName_ = SoundDeviceName(deviceId);
    if (format.formatTag != 1 || format.channels != 1 || format.bitsPerSample != 16 || bufferLength <= 0)
        return errorCode_ = kFormatRefused;
    try {
        buffer_.assign(static_cast<std::size_t>(bufferLength), 0);
    } catch (const std::bad_alloc&) {
        return errorCode_ = SoundError::kMemory;
    }
    bufferFrames_ = bufferLength;
    device_ = factory_(deviceId);
    int result = device_->open({format.samplesPerSec, bufferLength, kRingBuffers, kStartBuffers});
    if (result != 0) {
        lastDetail_ = device_->lastError();
        device_.reset();
        return errorCode_ = result;
    }
    outOpen_ = true;
    return 0;
}

// Waits for a free buffer first, so a device that stopped taking samples
// costs the writer at most the wait limit.
bool CSound::queueBuffer(int frames) {
    if (!device_->waitForRoom(kWaitLimit)) {
        errorCode_ = SoundError::kOutputTimeout;
        return false;
    }
    AudioOutput::Write result = device_->write(buffer_.data(), frames);
    if (result == AudioOutput::Write::Failed) {
        errorCode_ = SoundError::kOutputTimeout;
        return false;
    }
    if (result == AudioOutput::Write::Underrun) errorCode_ = SoundError::kUnderflow;
    ++buffersQueued_;
    return true;
}

int CSound::WriteSamples(const double* samples, int count) {
    if (!outOpen_) {
        errorCode_ = SoundError::kWriteWhileClosed;
        return -1;
    }
    if (count <= 0) return closeAndReport();
    // A call larger than the room left fills the buffer, hands it over and
    // goes on in the next one, rather than writing past its end.
    for (int i = 0; i < count; ++i) {
        buffer_[static_cast<std::size_t>(fillFrames_++)] = toPcm(samples[i]);
        if (fillFrames_ < bufferFrames_) continue;
        fillFrames_ = 0;
        if (!queueBuffer(bufferFrames_)) {
            CloseOutput();
            return -1;
        }
    }
    samplesWritten_ += static_cast<unsigned>(count);
    if (stopAfter_ != 0 && samplesWritten_ >= stopAfter_) return closeAndReport();
    return count;
}

int CSound::closeAndReport() {
    CloseOutput();
    return errorCode_ != SoundError::kNone ? -1 : 0;
}

int CSound::drainOutput() {
    if (buffersQueued_ == 0) return errorCode_;
    device_->start();
    int queued = device_->queuedFrames();
    auto lastProgress = std::chrono::steady_clock::now();
    while (queued > 0) {
        std::this_thread::sleep_for(kDrainPoll);
        int now = device_->queuedFrames();
        if (now < queued) {
            lastProgress = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - lastProgress > kWaitLimit) {
            return SoundError::kOutputTimeout;
        }
        queued = now;
    }
    return errorCode_;
}

void CSound::CloseOutput() {
    outOpen_ = false;
    if (!device_) return;
    if (errorCode_ == SoundError::kNone && fillFrames_ > 0) {
        if (queueBuffer(fillFrames_)) fillFrames_ = 0;
    }
    errorCode_ = drainOutput();
    device_->drop();
    lastDetail_ = device_->lastError();
    device_->close();
    device_.reset();
}

void CSound::ResetCounters() {
    fillFrames_ = 0;
    buffersQueued_ = 0;
    samplesWritten_ = 0;
}
