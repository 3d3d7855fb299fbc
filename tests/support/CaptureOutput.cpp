#include "support/CaptureOutput.h"

#include <algorithm>
#include <thread>

std::vector<int16_t> Capture::samples() const {
    std::lock_guard<std::mutex> hold(lock);
    return played;
}

std::vector<int> Capture::openedIds() const {
    std::lock_guard<std::mutex> hold(lock);
    return ids;
}

int Capture::drops() const {
    std::lock_guard<std::mutex> hold(lock);
    return dropCount;
}

int Capture::mostOpenAtOnce() const {
    std::lock_guard<std::mutex> hold(lock);
    return mostOpen;
}

int CaptureOutput::open(const AudioLayout&) {
    std::lock_guard<std::mutex> hold(capture_->lock);
    capture_->ids.push_back(id_);
    if (capture_->openResult != 0) return capture_->openResult;
    open_ = true;
    capture_->mostOpen = std::max(capture_->mostOpen, ++capture_->openNow);
    return 0;
}

void CaptureOutput::close() {
    std::lock_guard<std::mutex> hold(capture_->lock);
    if (open_) --capture_->openNow;
    open_ = false;
}

bool CaptureOutput::waitForRoom(std::chrono::milliseconds limit) {
    int stallAfter;
    std::chrono::microseconds periodTime;
    {
        std::lock_guard<std::mutex> hold(capture_->lock);
        stallAfter = capture_->stallAfterPeriods;
        periodTime = capture_->periodTime;
    }
    if (stallAfter < 0 || periodsTaken_ < stallAfter) {
        std::this_thread::sleep_for(periodTime);
        return true;
    }
    std::this_thread::sleep_for(limit);
    stalled_ = true;
    return false;
}

AudioOutput::Write CaptureOutput::write(const int16_t* samples, int frames) {
    std::lock_guard<std::mutex> hold(capture_->lock);
    capture_->played.insert(capture_->played.end(), samples, samples + frames);
    ++periodsTaken_;
    return Write::Taken;
}

void CaptureOutput::drop() {
    std::lock_guard<std::mutex> hold(capture_->lock);
    ++capture_->dropCount;
}

CSound::DeviceFactory CaptureDevices(std::shared_ptr<Capture> capture) {
    return [capture](int deviceId) { return std::make_unique<CaptureOutput>(capture, deviceId); };
}
