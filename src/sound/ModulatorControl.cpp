#include "sound/ModulatorControl.h"

#include <cmath>
#include <limits>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Waits.h"

namespace {

constexpr unsigned kStationSampleRate = 8000;
constexpr unsigned kStartupToneCenter = 2210;
constexpr int kIdleSecondsAfterTransmit = 2;

// Truncated to whole hertz; a value no card could sound (negative, not a
// number, beyond range) is reported instead of being cast blindly.
bool wholeHertz(double hertz, unsigned& result) {
    if (!(hertz >= 0.0 && hertz < static_cast<double>(std::numeric_limits<unsigned>::max()))) return false;
    result = static_cast<unsigned>(hertz);
    return true;
}

}  // namespace

ModulatorControl::ModulatorControl(ProgramState& state, Controls& window, EventLog& log, Waits& waits,
                                   CProcThread::TransmitterOff transmitterOff, CSound::DeviceFactory devices)
    : state_(state),
      window_(window),
      log_(log),
      waits_(waits),
      transmitterOff_(std::move(transmitterOff)),
      devices_(std::move(devices)),
      current_(newModulator()) {
    state_.modulator = current_.get();
    state_.sampleRate = kStationSampleRate;
    state_.toneCenter = kStartupToneCenter;
}

ModulatorControl::~ModulatorControl() {
    state_.modulatorStop = 1;
    waitForEnd();
    state_.modulator = nullptr;
}

std::shared_ptr<CProcThread> ModulatorControl::newModulator() {
    return std::make_shared<CProcThread>(state_, window_, log_, devices_);
}

bool ModulatorControl::SoundModemChosen(const ProgramState& state) {
    int mode = state.MODE;
    return mode != kModePsk31 && mode != kModeCw && SoundCardSelected(state);
}

// With the break signal both tones move one shift up, so the idle mark sounds
// on the normal space frequency.
void ModulatorControl::planTones() {
    double mark = state_.markTone;
    double space = state_.spaceTone;
    double half = std::fabs(mark - space) * 0.5;
    unsigned centre = 0;
    bool usable = std::isfinite(half) && wholeHertz((mark + space) * 0.5, centre);
    if (usable && state_.sendBreakSignal) usable = wholeHertz(half * 2 + centre, centre);
    if (!usable) {
        log_.writef("CmTX : MARK %f and SPACE %f give no usable tones; sending at 0 Hz", mark, space);
        half = 0.0;
        centre = 0;
    }
    state_.halfShift = half;
    state_.toneCenter = centre;
}

// The stop flag is raised first: a thread left running (the mode was changed
// while the transmitter was on) ends before the new one starts.
void ModulatorControl::startForTransmit() {
    planTones();
    state_.modulatorStop = 1;
    waitForEnd();
    std::lock_guard<std::mutex> hold(replaceLock_);
    if (current_->Running()) return;  // another thread started one meanwhile
    current_->Join();
    std::shared_ptr<CProcThread> next = newModulator();
    state_.modulator = next.get();
    current_ = std::move(next);
    state_.sampleRate = kStationSampleRate;
    current_->Start(transmitterOff_);
}

void ModulatorControl::stopAfterTransmit() {
    state_.modPending.clear();
    waits_.WaitSeconds(kIdleSecondsAfterTransmit);
    state_.modulatorStop = 1;
}

void ModulatorControl::waitForEnd() {
    std::shared_ptr<CProcThread> running;
    {
        std::lock_guard<std::mutex> hold(replaceLock_);
        running = current_;
    }
    if (running->IsCurrentThread()) return;
    while (running->Running()) waits_.PumpMessages();
}
