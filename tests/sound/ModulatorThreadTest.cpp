#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <thread>

#include "coding/CharacterEncoder.h"
#include "coding/CodeTable.h"
#include "sound/CProcThread.h"
#include "sound/ModulatorControl.h"
#include "support/AlsaTestConfig.h"
#include "support/CaptureOutput.h"
#include "support/CodingFixture.h"
#include "support/Minimodem.h"
#include "support/StationFixture.h"
#include "support/WavSamples.h"
#include "transmit/MacroExpander.h"

namespace {

// A window whose boxes, asked for from another thread, wait until the window
// thread (here: the test's pump) gets to them, as the real window's do.
class CarriedControls : public FakeControls {
public:
    MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                             MessageIcon icon) override {
        std::unique_lock<std::mutex> hold(lock_);
        bool done = false;
        MessageAnswer answer{};
        calls_.push_back([&] {
            answer = FakeControls::messageBox(text, caption, buttons, icon);
            done = true;
        });
        shown_.wait(hold, [&] { return done; });
        return answer;
    }
    // Runs what other threads wait for; the window thread's share of a pump.
    void carryCalls() {
        std::unique_lock<std::mutex> hold(lock_);
        while (!calls_.empty()) {
            calls_.front()();
            calls_.pop_front();
        }
        shown_.notify_all();
    }

private:
    std::mutex lock_;
    std::condition_variable shown_;
    std::deque<std::function<void()>> calls_;
};

struct ModemFixture {
    explicit ModemFixture(CSound::DeviceFactory devices = {})
        : modem(s.state, s.window, s.log, s.waits, [this] { ++transmitterOffs; }, std::move(devices)) {
        s.state.soundCardID = kSoundCardAuto;
        s.pump.onPump = [this] { ++s.state.timerTick; };
    }
    // The clock ticks once a real second, so the modulator plays what a card would.
    void realSeconds() {
        auto next = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::steady_clock::now());
        s.pump.onPump = [this, next] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (std::chrono::steady_clock::now() < *next + std::chrono::seconds(1)) return;
            *next += std::chrono::seconds(1);
            ++s.state.timerTick;
        };
    }
    void send(const std::string& text) {
        for (char ch : text) encoder.EncodeChar(ch, kModeMilitary);
        for (int i = 0; i < 3; ++i) s.router.SendCode(kCodeLtrs);
    }
    void transmit(const std::string& text) {
        modem.startForTransmit();
        send(text);
        modem.stopAfterTransmit();
        modem.waitForEnd();
    }

    StationFixture s;
    MacroExpander macros{s.state, s.router, s.clock, encoder};
    CharacterEncoder encoder{s.state, s.log, s.router, macros};
    std::atomic<int> transmitterOffs{0};
    ModulatorControl modem;
};

std::shared_ptr<Capture> pacedCapture() {
    auto capture = std::make_shared<Capture>();
    capture->periodTime = std::chrono::microseconds(1000);
    return capture;
}

bool contains(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(CProcThread, AFrameIsOneCharacterAtTheLineSpeed) {
    struct Case { float baud; int dataBits; int samples; };
    for (Case c : {Case{45.45f, 5, 1320}, Case{45.45f, 8, 1936}, Case{45.45f, 6, 1584}, Case{45.45f, 7, 1760},
                   Case{50.0f, 5, 1200}, Case{75.0f, 5, 800}, Case{0.0f, 5, 0}, Case{-45.45f, 5, 0}})
        EXPECT_EQ(CProcThread::FrameLength(c.baud, 8000, c.dataBits), c.samples) << c.baud << "/" << c.dataBits;
}

TEST(ModulatorControl, TheTonePlanPutsMarkOnTheLowerToneAndTheBreakOneShiftUp) {
    struct Case { double mark, space; int breakSignal; unsigned centre; double half; };
    for (Case c : {Case{2125, 2295, 0, 2210, 85}, Case{2295, 2125, 0, 2210, 85}, Case{2125, 2295, 1, 2380, 85},
                   Case{1275, 1445.5, 0, 1360, 85.25}}) {
        ModemFixture f(CaptureDevices(pacedCapture()));
        f.s.state.markTone = c.mark;
        f.s.state.spaceTone = c.space;
        f.s.state.sendBreakSignal = c.breakSignal;
        f.modem.startForTransmit();
        EXPECT_EQ(f.s.state.toneCenter, c.centre) << c.mark << "/" << c.space << "/" << c.breakSignal;
        EXPECT_DOUBLE_EQ(f.s.state.halfShift, c.half);
        f.modem.stopAfterTransmit();
    }
}

TEST(ModulatorControl, TonesNoCardCouldSoundAreLoggedNotCast) {
    ModemFixture f(CaptureDevices(pacedCapture()));
    f.s.state.markTone = -3000.0;
    f.s.state.spaceTone = -2000.0;
    f.modem.startForTransmit();
    f.modem.stopAfterTransmit();
    EXPECT_EQ(f.s.state.toneCenter, 0u);
    EXPECT_TRUE(contains(f.s.logMessages(), "give no usable tones"));
}

TEST(ModulatorControl, AtStartUpCodesWaitForTheFirstTransmitterOn) {
    ModemFixture f;
    EXPECT_NE(f.s.state.modulator.load(), nullptr);
    f.s.router.SendCode(3);
    EXPECT_EQ(f.s.state.modPending.count(), 1) << "no thread takes it yet";
    f.modem.stopAfterTransmit();
    EXPECT_EQ(f.s.state.modPending.count(), 0) << "transmitter-off drops the code";
    EXPECT_EQ(f.s.state.modulatorStop, 1);
}

TEST(ModulatorControl, TheChosenCardIsTheDeviceOpened) {
    for (int card : {kSoundCardAuto, 0, 1, 3}) {
        auto capture = pacedCapture();
        ModemFixture f(CaptureDevices(capture));
        f.s.state.soundCardID = card;
        f.transmit("E");
        EXPECT_EQ(capture->openedIds(), std::vector<int>{card});
    }
}

TEST(ModulatorControl, ACardThatCannotBeOpenedShowsItsTextAndSwitchesTheTransmitterOff) {
    auto capture = pacedCapture();
    capture->openResult = 2;
    ModemFixture f(CaptureDevices(capture));
    f.modem.startForTransmit();
    f.modem.waitForEnd();
    auto boxes = f.s.window.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Device ID out of range");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(f.transmitterOffs, 1);
    EXPECT_TRUE(contains(f.s.logMessages(), "cannot be opened (code 2)"));
}

TEST(ModulatorControl, ANewModulatorStartsOnlyAfterThePreviousHasEnded) {
    auto capture = pacedCapture();
    ModemFixture f(CaptureDevices(capture));
    for (int run = 0; run < 3; ++run) {
        f.modem.startForTransmit();
        f.send("RY");
        f.s.state.modPending.clear();
        f.s.state.modulatorStop = 1;  // transmitter-off without its two seconds
    }
    f.modem.waitForEnd();
    EXPECT_EQ(capture->openedIds().size(), 3u);
    EXPECT_EQ(capture->mostOpenAtOnce(), 1);
    EXPECT_EQ(capture->drops(), 3) << "each stop drops what was queued";
}

TEST(ModulatorControl, WaitingForAThreadInAMessageBoxNeverDeadlocks) {
    auto capture = pacedCapture();
    capture->stallAfterPeriods = 3;
    StationFixture s;
    CarriedControls window;
    ModulatorControl modem(s.state, window, s.log, s.waits, [] {}, CaptureDevices(capture));
    s.state.soundCardID = 0;
    s.pump.onPump = [&] { window.carryCalls(); };
    modem.startForTransmit();
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));  // the device has hung: its box waits
    modem.startForTransmit();
    auto boxes = window.boxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Timed out waiting for output buffers");
    s.state.modulatorStop = 1;
    modem.waitForEnd();
}

// The real ALSA path: the "default" PCM is a file writer on a null slave,
// which takes samples as fast as they come, so these runs take no air time.
// Such a device would let idle frames in between codes handed over one by
// one (a decoder takes a long gap for a new signal and forgets the figures
// shift), so the encoder's codes are all queued before the thread starts.
// Every letter and figure a decoder shares with MILITARY must come back
// without one error: each character keeps a stop element of 1.5 bit times
// however its frames fall. (All of it fits the 99 places of the hand-over.)
TEST(ModulatorThread, TextThroughAlsaReadsBackWithAnIndependentDecoder) {
    const std::string text = "RYRY THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 1234567890 -?:().,/";
    // The station's idle letters shifts lead in, as after every transmitter-on.
    std::vector<int> codes(2, kCodeLtrs);
    for (int code : CodingFixture().encode(text, kModeMilitary)) codes.push_back(code);
    struct Case { float baud; double mark, space; };
    for (Case c : {Case{45.45f, 2125, 2295}, Case{45.45f, 2295, 2125}, Case{50.0f, 2125, 2295}}) {
        ModemFixture f;
        AlsaTestConfig alsa("air.wav");
        f.s.state.BAUD = c.baud;
        f.s.state.markTone = c.mark;
        f.s.state.spaceTone = c.space;
        for (int code : codes) f.s.router.HandOver(code);
        for (int i = 0; i < 3; ++i) f.s.router.HandOver(kCodeLtrs);
        f.modem.startForTransmit();
        while (f.s.state.modPending.count() > 0) f.s.waits.PumpMessages();
        f.modem.stopAfterTransmit();
        f.modem.waitForEnd();
        EXPECT_TRUE(f.s.window.boxes().empty());
        std::string heard = MinimodemRtty("air.wav", c.baud, 2125, 2295);
        EXPECT_NE(heard.find(text), std::string::npos)
            << c.baud << " " << c.mark << "/" << c.space << ": \"" << heard << "\"";
    }
}

TEST(ModulatorThread, TheWavDeviceCapturesTheAirAtTheCardsPace) {
    ModemFixture f;
    ::setenv("TARVIK_SOUND", "wav:air.wav", 1);
    f.realSeconds();
    auto start = std::chrono::steady_clock::now();
    f.transmit("RYRY TARVIK");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::unsetenv("TARVIK_SOUND");
    WavSamples wav = ReadWavSamples("air.wav");
    EXPECT_TRUE(wav.sizesAgree);
    double played = wav.samples.size() / 8000.0;
    EXPECT_GT(played, 2.0) << "the text and two seconds of idle";
    EXPECT_LT(played, seconds + 0.2) << "never ahead of real time";
    std::string heard = MinimodemRtty("air.wav", 45.45, 2125, 2295);
    EXPECT_NE(heard.find("RYRY TARVIK"), std::string::npos) << "\"" << heard << "\"";
}
