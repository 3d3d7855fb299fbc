#include "sound/CProcThread.h"

#include <cmath>
#include <new>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Controls.h"
#include "sound/SoundErrors.h"

namespace {

constexpr const char kBoxCaption[] = "Tarvik";

}  // namespace

CProcThread::CProcThread(ProgramState& state, Controls& window, EventLog& log, CSound::DeviceFactory devices)
    : state_(state), window_(window), log_(log), devices_(std::move(devices)) {}

CProcThread::~CProcThread() {
    if (!thread_.joinable()) return;
    if (IsCurrentThread()) thread_.detach();  // the last owner let go on the thread itself
    else thread_.join();
}

int CProcThread::FrameLength(float baud, unsigned sampleRate, int dataBits) {
    bool longStop = dataBits >= 6 && dataBits <= 8;
    double elements = longStop ? dataBits + 1 + 2.0 : 5 + 1 + 1.5;
    double frame = (1.0 / static_cast<double>(baud)) * sampleRate * elements;
    if (!(frame >= 1.0 && frame < 1e7)) return 0;
    return static_cast<int>(frame);
}

void CProcThread::Start(TransmitterOff owner) {
    owner_ = std::move(owner);
    if (thread_.joinable()) return;
    state_.modulatorStop = 0;
    running_ = true;
    state_.modulatorRunning = 1;
    thread_ = std::thread([this] {
        threadId_ = std::this_thread::get_id();
        Run();
        state_.modulatorRunning = 0;
        running_ = false;
    });
}

void CProcThread::Join() {
    if (thread_.joinable() && !IsCurrentThread()) thread_.join();
}

void CProcThread::ShowSoundError(int code) {
    if (code == SoundError::kNone) return;
    window_.messageBox(SoundErrorText(code), kBoxCaption, MessageButtons::Ok, MessageIcon::Error);
}

void CProcThread::ReleaseAll() {
    if (device) device->CloseOutput();
    device.reset();
    keyer.reset();
    samples.reset();
}

void CProcThread::AbortRun() { ReleaseAll(); }

void CProcThread::Run() {
    unsigned sampleRate = state_.sampleRate;
    int dataBits = state_.DATABITS;
    int frameLength = FrameLength(state_.BAUD, sampleRate, dataBits);
    {
        std::lock_guard<std::mutex> hold(state_.modulatorLock);
        outputGain = CGenerators::kOutputGain;
    }
    samples.reset(new (std::nothrow) double[static_cast<std::size_t>(frameLength > 0 ? frameLength : 1)]);
    if (!samples) {
        window_.messageBox("Output Memory Error", kBoxCaption, MessageButtons::Ok, MessageIcon::Error);
        AbortRun();
        return;
    }
    if (!openDevice(frameLength)) return;
    outputStage = std::make_unique<CGenerators>();
    keyer = std::make_unique<CMSKGen>(state_);
    keyer->Init(sampleRate, state_.toneCenter);
    keyer->SetTones(sampleRate, state_.toneCenter);
    // A stop waits until the last character's frame has left the device (ten
    // idle frames behind it), so that a character SendCode took is never cut
    // off; at 45.45 baud the ring holds 1.65 s, with 8 data bits 2.4 s.
    int idleFrames = CSound::kRingBuffers;
    while (state_.modulatorStop == 0 || idleFrames < CSound::kRingBuffers) {
        int code = state_.modPending.takeFirst();
        if (!playFrame(frameLength, code)) return;
        idleFrames = code != 0 ? 0 : idleFrames + 1;
    }
    // Forgetting the queued buffers first makes the close drop them (idle
    // frames only): the sound stops at once.
    device->ResetCounters();
    ReleaseAll();
}

// A card that cannot be opened switches the transmitter off again.
bool CProcThread::openDevice(int frameLength) {
    device = std::make_unique<CSound>(devices_);
    int result = device->OpenOutput(StationFormat(state_.sampleRate), frameLength, 0, state_.soundCardID);
    if (result == 0) return true;
    log_.writef("CProcThread : sound device %s cannot be opened (code %d)", device->DeviceDetail().c_str(),
                result);
    ShowSoundError(result);
    ReleaseAll();
    if (owner_) owner_();
    return false;
}

bool CProcThread::playFrame(int frameLength, int code) {
    keyer->Generate(samples.get(), frameLength, code, state_.DATABITS);
    outputStage->ApplyGain(frameLength, samples.get(), outputGain);
    int result = device->WriteSamples(samples.get(), frameLength);
    if (result == frameLength) return true;
    log_.writef("CProcThread : sound device %s failed (code %d)", device->DeviceDetail().c_str(),
                device->ErrorCode());
    if (result != 0) ShowSoundError(device->ErrorCode());
    device->CloseOutput();
    AbortRun();
    return false;
}
