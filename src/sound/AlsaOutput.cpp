#include "sound/AlsaOutput.h"

#include <cerrno>
#include <mutex>

namespace {

// A write that finds no room after all waits no longer than the writer's own limit.
constexpr int kWriteWaitMs = 2000;

// ALSA prints its own complaints to standard error; the station reports the
// failure itself (the code's box and a log line), so they are kept quiet.
void quietAlsaMessages(const char*, int, const char*, int, const char*, ...) {}

void installQuietHandler() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietAlsaMessages); });
}

int openErrorCode(int alsaError) {
    switch (-alsaError) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return kNoSuchDevice;
        case EBUSY:
            return 4;  // "Device already allocated"
        case ENOMEM:
            return 7;  // "mmsystem memory allocation error"
        default:
            return 3;  // "Driver failed enable"
    }
}

}  // namespace

AlsaOutput::~AlsaOutput() { release(); }

int AlsaOutput::fail(const char* step, int alsaError, int code) {
    lastError_ = std::string(step) + ": " + snd_strerror(alsaError);
    release();
    return code;
}

int AlsaOutput::open(const AudioLayout& layout) {
    installQuietHandler();
    release();
    periodFrames_ = layout.periodFrames;
    int result = snd_pcm_open(&pcm_, name_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (result < 0) {
        pcm_ = nullptr;
        return fail("open", result, openErrorCode(result));
    }
    return configure(layout);
}

// The period and buffer are asked for with the _near calls; whatever the card
// grants must still hold two character frames, else the format is refused.
int AlsaOutput::configure(const AudioLayout& layout) {
    snd_pcm_hw_params_t* hw;
    snd_pcm_hw_params_alloca(&hw);
    int result = snd_pcm_hw_params_any(pcm_, hw);
    if (result < 0) return fail("hardware parameters", result, kFormatRefused);
    if ((result = snd_pcm_hw_params_set_access(pcm_, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
        (result = snd_pcm_hw_params_set_format(pcm_, hw, SND_PCM_FORMAT_S16_LE)) < 0 ||
        (result = snd_pcm_hw_params_set_channels(pcm_, hw, 1)) < 0)
        return fail("16-bit mono", result, kFormatRefused);
    unsigned rate = layout.sampleRate;
    if ((result = snd_pcm_hw_params_set_rate(pcm_, hw, rate, 0)) < 0)
        return fail("sample rate", result, kFormatRefused);
    snd_pcm_uframes_t period = static_cast<snd_pcm_uframes_t>(layout.periodFrames);
    bufferFrames_ = period * static_cast<snd_pcm_uframes_t>(layout.periods);
    if ((result = snd_pcm_hw_params_set_period_size_near(pcm_, hw, &period, nullptr)) < 0 ||
        (result = snd_pcm_hw_params_set_buffer_size_near(pcm_, hw, &bufferFrames_)) < 0)
        return fail("buffer size", result, kFormatRefused);
    if (bufferFrames_ < 2 * static_cast<snd_pcm_uframes_t>(layout.periodFrames))
        return fail("buffer size", -EINVAL, kFormatRefused);
    if ((result = snd_pcm_hw_params(pcm_, hw)) < 0) return fail("hardware parameters", result, kFormatRefused);

    snd_pcm_sw_params_t* sw;
    snd_pcm_sw_params_alloca(&sw);
    snd_pcm_uframes_t threshold = static_cast<snd_pcm_uframes_t>(layout.periodFrames) * layout.startPeriods;
    if (threshold > bufferFrames_) threshold = bufferFrames_;
    if ((result = snd_pcm_sw_params_current(pcm_, sw)) < 0 ||
        (result = snd_pcm_sw_params_set_start_threshold(pcm_, sw, threshold)) < 0 ||
        (result = snd_pcm_sw_params_set_avail_min(pcm_, sw, layout.periodFrames)) < 0 ||
        (result = snd_pcm_sw_params(pcm_, sw)) < 0)
        return fail("software parameters", result, kFormatRefused);
    lastError_.clear();
    return 0;
}

bool AlsaOutput::waitForRoom(std::chrono::milliseconds limit) {
    if (pcm_ == nullptr) return false;
    snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
    if (room < 0 || room >= periodFrames_) return true;  // an underrun shows at the write
    int ready = snd_pcm_wait(pcm_, static_cast<int>(limit.count()));
    if (ready == 0) lastError_ = "no room in " + std::to_string(limit.count()) + " ms";
    return ready != 0;
}

AudioOutput::Write AlsaOutput::write(const int16_t* samples, int frames) {
    if (pcm_ == nullptr) return Write::Failed;
    bool underrun = false;
    while (frames > 0) {
        snd_pcm_sframes_t done = snd_pcm_writei(pcm_, samples, static_cast<snd_pcm_uframes_t>(frames));
        if (done == -EPIPE || done == -ESTRPIPE) {
            underrun = true;
            if (snd_pcm_recover(pcm_, static_cast<int>(done), 1) < 0) return Write::Failed;
            continue;
        }
        if (done == -EAGAIN || done == -EINTR) {
            if (snd_pcm_wait(pcm_, kWriteWaitMs) == 0) {
                lastError_ = "write: the device took nothing for " + std::to_string(kWriteWaitMs) + " ms";
                return Write::Failed;
            }
            continue;
        }
        if (done < 0) {
            lastError_ = std::string("write: ") + snd_strerror(static_cast<int>(done));
            return Write::Failed;
        }
        samples += done;
        frames -= static_cast<int>(done);
    }
    return underrun ? Write::Underrun : Write::Taken;
}

int AlsaOutput::queuedFrames() {
    if (pcm_ == nullptr) return 0;
    snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (state != SND_PCM_STATE_RUNNING && state != SND_PCM_STATE_PREPARED) return 0;
    snd_pcm_sframes_t room = snd_pcm_avail(pcm_);
    if (room < 0) return 0;
    snd_pcm_sframes_t queued = static_cast<snd_pcm_sframes_t>(bufferFrames_) - room;
    return queued > 0 ? static_cast<int>(queued) : 0;
}

void AlsaOutput::start() {
    if (pcm_ != nullptr && snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_);
}

void AlsaOutput::drop() {
    if (pcm_ != nullptr) snd_pcm_drop(pcm_);
}

void AlsaOutput::close() { release(); }

void AlsaOutput::release() {
    if (pcm_ != nullptr) snd_pcm_close(pcm_);
    pcm_ = nullptr;
}
