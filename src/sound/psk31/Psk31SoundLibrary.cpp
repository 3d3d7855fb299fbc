#include "sound/psk31/Psk31SoundLibrary.h"

#include "app/EventLog.h"
#include "platform/EventPump.h"
#include "sound/SoundErrors.h"
#include "sound/psk31/Psk31Modulator.h"

namespace {

constexpr int kUnknownStartError = 33;

// A symbol a buffer.
int openForPsk(CSound& device, int cardId) {
    return device.OpenOutput(StationFormat(Psk31Modulator::kSampleRate), Psk31Modulator::kSymbolSamples, 0, cardId);
}

}  // namespace

Psk31SoundLibrary::Psk31SoundLibrary(EventLog& log, EventPump& pump, Psk31Sender::MorsePatterns morse,
                                     CSound::DeviceFactory devices)
    : log_(log), pump_(pump), morse_(std::move(morse)), devices_(std::move(devices)) {}

Psk31SoundLibrary::~Psk31SoundLibrary() { CloseSoundCard(); }

int Psk31SoundLibrary::StartResultFor(int soundErrorCode) {
    switch (soundErrorCode) {
        case 0:
            return 0;
        case kFormatRefused:
            return 17;  // "Card doesn't support 16bit, 8000Hz, Mono format"
        case 2:
            return 21;  // "Bad Device ID, Soundcard Not Present"
        case 3: case 4: case 5: case 6:
            return soundErrorCode + 19;  // driver, allocated, handle, no driver: 22..25
        case 8: case 9: case 10: case 11: case 12:
            return soundErrorCode + 18;  // unsupported .. handle being used: 26..30
        default:
            return kUnknownStartError;
    }
}

// The card is opened once to prove it; it is held only while transmitting.
int Psk31SoundLibrary::OpenSoundCard(int soundCardId) {
    CloseSoundCard();
    auto probe = std::make_unique<CSound>(devices_);
    int code = openForPsk(*probe, soundCardId);
    std::string detail = probe->DeviceDetail();
    probe->CloseOutput();
    if (code != 0) {
        log_.writef("PSK31 : sound device %s cannot be opened (code %d)", detail.c_str(), code);
        return StartResultFor(code);
    }
    std::lock_guard<std::mutex> hold(lock_);
    cardId_ = soundCardId;
    cardOpen_ = true;
    deviceFailed_ = false;
    quit_ = false;
    stopRequested_ = false;
    phase_ = Phase::Idle;
    threadRunning_ = true;
    thread_ = std::thread(&Psk31SoundLibrary::outputThread, this);
    return 0;
}

// The output thread may be writing to the log, which needs this thread's
// messages when it is the window thread: wait pumping.
void Psk31SoundLibrary::CloseSoundCard() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!cardOpen_) return;
        cardOpen_ = false;
        quit_ = true;
    }
    abandon_ = true;
    wake_.notify_all();
    while (threadRunning_) pump_.pumpMessages();
    thread_.join();
    abandon_ = false;
}

void Psk31SoundLibrary::StartTransmit() {
    std::lock_guard<std::mutex> hold(lock_);
    stopRequested_ = false;
    deviceFailed_ = false;
    if (phase_ == Phase::Idle || phase_ == Phase::Closing) phase_ = Phase::Starting;
    wake_.notify_all();
}

// What is queued still goes out (an identification requested just before),
// then the postamble.
void Psk31SoundLibrary::StopTransmit() {
    std::lock_guard<std::mutex> hold(lock_);
    stopRequested_ = true;
}

void Psk31SoundLibrary::AbandonTransmit() {
    queue_.clear();
    std::lock_guard<std::mutex> hold(lock_);
    if (phase_ == Phase::Starting) phase_ = Phase::Idle;
    else if (phase_ != Phase::Idle) abandon_ = true;
}

void Psk31SoundLibrary::SetCarrierFrequency(int hertz) { carrierHertz_ = hertz; }

void Psk31SoundLibrary::SetCwIdText(const std::string& text) {
    std::lock_guard<std::mutex> hold(lock_);
    cwIdText_ = text;
}

void Psk31SoundLibrary::QueueCharacter(int code, int control) { queue_.push({code, control}); }

int Psk31SoundLibrary::PendingCharacters() { return queue_.size(); }

void Psk31SoundLibrary::FlushQueue() { queue_.clear(); }

bool Psk31SoundLibrary::CanSend() {
    std::lock_guard<std::mutex> hold(lock_);
    return cardOpen_ && !deviceFailed_;
}

bool Psk31SoundLibrary::Transmitting() const {
    std::lock_guard<std::mutex> hold(lock_);
    return phase_ != Phase::Idle;
}

void Psk31SoundLibrary::outputThread() {
    while (waitForStart()) transmit();
    threadRunning_ = false;
}

bool Psk31SoundLibrary::waitForStart() {
    std::unique_lock<std::mutex> hold(lock_);
    wake_.wait(hold, [&] { return quit_ || phase_ == Phase::Starting; });
    if (quit_) return false;
    phase_ = Phase::Transmitting;
    deviceFailed_ = false;
    abandon_ = false;
    return true;
}

void Psk31SoundLibrary::dropQueue(const char* reason) {
    int dropped = queue_.clear();
    log_.writef("PSK31 : %s; %d queued characters dropped", reason, dropped);
}

void Psk31SoundLibrary::transmit() {
    auto device = std::make_unique<CSound>(devices_);
    int cardId;
    {
        std::lock_guard<std::mutex> hold(lock_);
        cardId = cardId_;
    }
    int code = openForPsk(*device, cardId);
    Psk31Modulator modulator;
    modulator.setCarrier(carrierHertz_);
    Psk31Sender sender(*device, modulator, morse_, [&] {
        modulator.setCarrier(carrierHertz_);
        return !abandon_;
    });
    bool sent = code == 0 && sender.preamble();
    while (sent && sendNext(sender)) {
    }
    if (code != 0 || (!sent && !abandon_)) {
        // Refused before the queue is dropped, so nothing queued meanwhile waits for ever.
        {
            std::lock_guard<std::mutex> hold(lock_);
            deviceFailed_ = true;
        }
        dropQueue(("sound device " + device->DeviceDetail() + " failed (code " +
                   std::to_string(code != 0 ? code : device->ErrorCode()) + ")").c_str());
    }
    if (abandon_) device->ResetCounters();
    device->CloseOutput();
    std::lock_guard<std::mutex> hold(lock_);
    if (phase_ != Phase::Starting) phase_ = Phase::Idle;
}

// One step of a transmission; false when it has ended.
bool Psk31SoundLibrary::sendNext(Psk31Sender& sender) {
    if (std::optional<Psk31Entry> entry = queue_.take()) {
        if (entry->control == 0) {
            bool ok = sender.character(entry->code);
            if (sender.skipped()) log_.writef("PSK31 : character %d has no Varicode; not sent", entry->code);
            return ok;
        }
        if (entry->code != kPskControlSendCwId) {
            log_.writef("PSK31 : control request %d is not known; ignored", entry->code);
            return true;
        }
        std::string text;
        {
            std::lock_guard<std::mutex> hold(lock_);
            text = cwIdText_;
        }
        return sender.cwIdentification(text);
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!stopRequested_) return sender.idle();
        stopRequested_ = false;
        phase_ = Phase::Closing;
    }
    sender.postamble();
    return false;
}
