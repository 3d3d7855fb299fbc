#include "sound/WavFileOutput.h"

#include <algorithm>

WavFileOutput::~WavFileOutput() { close(); }

int WavFileOutput::open(const AudioLayout& layout) {
    close();
    if (layout.periodFrames <= 0 || layout.periods <= 0) return kFormatRefused;
    if (!file_.open(path_, layout.sampleRate)) {
        std::lock_guard<std::mutex> hold(lock_);
        error_ = file_.error();
        return kNoSuchDevice;
    }
    std::lock_guard<std::mutex> hold(lock_);
    layout_ = layout;
    ring_.assign(static_cast<std::size_t>(layout.periodFrames) * layout.periods, 0);
    head_ = queued_ = 0;
    playing_ = underrun_ = stalled_ = quit_ = false;
    error_.clear();
    player_ = std::thread(&WavFileOutput::play, this);
    return 0;
}

bool WavFileOutput::waitForRoom(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> hold(lock_);
    bool room = changed_.wait_for(hold, limit, [&] { return capacity() - queued_ >= layout_.periodFrames; });
    if (!room && !stalled_) error_ = "no room in " + std::to_string(limit.count()) + " ms";
    return room;
}

AudioOutput::Write WavFileOutput::write(const int16_t* samples, int frames) {
    std::lock_guard<std::mutex> hold(lock_);
    if (ring_.empty() || frames > capacity() - queued_) return Write::Failed;
    for (int i = 0; i < frames; ++i) ring_[(head_ + queued_ + i) % capacity()] = samples[i];
    queued_ += frames;
    bool underrun = underrun_;
    underrun_ = false;
    if (!playing_ && queued_ >= layout_.periodFrames * layout_.startPeriods) startPlaying();
    return underrun ? Write::Underrun : Write::Taken;
}

int WavFileOutput::queuedFrames() {
    std::lock_guard<std::mutex> hold(lock_);
    return queued_;
}

void WavFileOutput::start() {
    std::lock_guard<std::mutex> hold(lock_);
    if (!playing_ && queued_ > 0) startPlaying();
}

void WavFileOutput::startPlaying() {
    playing_ = true;
    nextEnd_ = Clock::now();
    changed_.notify_all();
}

void WavFileOutput::drop() {
    std::lock_guard<std::mutex> hold(lock_);
    queued_ = 0;
    playing_ = false;
    ++dropCount_;
    changed_.notify_all();
}

void WavFileOutput::close() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        quit_ = true;
        changed_.notify_all();
    }
    if (player_.joinable()) player_.join();
    file_.close();
}

std::string WavFileOutput::lastError() const {
    std::lock_guard<std::mutex> hold(lock_);
    return error_;
}

// The player: each period sounds for its length in real time; only then is
// it in the file and its room free again, as a card frees a played buffer.
void WavFileOutput::play() {
    std::vector<int16_t> period;
    std::unique_lock<std::mutex> hold(lock_);
    while (takeNextPeriod(hold, period)) {
        unsigned dropsBefore = dropCount_;
        auto length = std::chrono::nanoseconds(1'000'000'000LL * static_cast<long long>(period.size()) /
                                               layout_.sampleRate);
        nextEnd_ += std::chrono::duration_cast<Clock::duration>(length);
        changed_.wait_until(hold, nextEnd_, [&] { return quit_ || dropCount_ != dropsBefore; });
        if (quit_) return;
        if (dropCount_ != dropsBefore) continue;
        head_ = (head_ + static_cast<int>(period.size())) % capacity();
        queued_ -= static_cast<int>(period.size());
        hold.unlock();
        bool written = file_.append(period.data(), static_cast<int>(period.size()));
        hold.lock();
        if (!written) {
            stalled_ = true;
            error_ = file_.error();
            return;
        }
        changed_.notify_all();
    }
}

// Waits for something to play; an empty ring while playing is an underrun.
bool WavFileOutput::takeNextPeriod(std::unique_lock<std::mutex>& hold, std::vector<int16_t>& period) {
    for (;;) {
        if (quit_) return false;
        if (playing_ && queued_ == 0) {
            playing_ = false;
            underrun_ = true;
        }
        if (playing_) break;
        changed_.wait(hold);
    }
    int frames = std::min(queued_, layout_.periodFrames);
    period.resize(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) period[static_cast<std::size_t>(i)] = ring_[(head_ + i) % capacity()];
    return true;
}
