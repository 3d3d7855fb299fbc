#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "sound/CSound.h"
#include "sound/SoundDeviceName.h"
#include "sound/SoundErrors.h"
#include "support/AlsaTestConfig.h"
#include "support/CaptureOutput.h"
#include "support/TempDir.h"
#include "support/WavSamples.h"

namespace {

using Clock = std::chrono::steady_clock;

// One environment variable set for the length of a test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { ::unsetenv(name_); }

private:
    const char* name_;
};

std::vector<double> ramp(int count, double start = 0) {
    std::vector<double> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) samples[static_cast<std::size_t>(i)] = start + i;
    return samples;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

TEST(SoundErrors, EveryCodeHasItsTextAndTheRestTheCatchAll) {
    const std::string unknown = "??? Maybe Input being used at\n a different sample rate";
    struct Case { int code; std::string text; };
    for (const Case& c : {Case{0, ""}, Case{2, "Device ID out of range"}, Case{7, "mmsystem memory allocation error"},
                          Case{12, "Handle being used"}, Case{100, "Memory Allocation error"},
                          Case{108, "Can't open wave file for input"}, Case{114, "Tried to write and soundcard is not open"},
                          Case{115, "Output buffers Underflowed"}, Case{116, "Timed out waiting for output buffers"},
                          Case{1, unknown}, Case{13, unknown}, Case{32, unknown}, Case{99, unknown}, Case{117, unknown},
                          Case{-5, unknown}})
        EXPECT_EQ(SoundErrorText(c.code), c.text) << c.code;
}

TEST(SoundDeviceName, IdsLeadToTheirVariablesOrTheAlsaDefaults) {
    EXPECT_EQ(SoundDeviceName(-1), "default");
    EXPECT_EQ(SoundDeviceName(0), "plughw:0");
    EXPECT_EQ(SoundDeviceName(3), "plughw:3");
    ScopedEnv automatic("TARVIK_SOUND", "wav:/tmp/air.wav");
    ScopedEnv fourth("TARVIK_SOUND4", "hw:7,1");
    EXPECT_EQ(SoundDeviceName(-1), "wav:/tmp/air.wav");
    EXPECT_EQ(SoundDeviceName(3), "hw:7,1");
    EXPECT_EQ(SoundDeviceName(1), "plughw:1");
}

TEST(CSound, ACardThatDoesNotExistGivesCode2) {
    ScopedEnv card("TARVIK_SOUND2", "plughw:31");
    CSound sound;
    EXPECT_EQ(sound.OpenOutput(WaveFormat{}, 1320, 0, 1), 2);
    EXPECT_EQ(sound.ErrorCode(), 2);
    EXPECT_EQ(SoundErrorText(sound.ErrorCode()), "Device ID out of range");
    EXPECT_NE(sound.DeviceDetail().find("plughw:31"), std::string::npos);
    EXPECT_EQ(sound.WriteSamples(ramp(10).data(), 10), -1);
    EXPECT_EQ(sound.ErrorCode(), SoundError::kWriteWhileClosed);
}

TEST(CSound, ADeviceRefusing16BitMonoGivesACodeOutsideTheTable) {
    TempDir dir;
    AlsaTestConfig alsa("unused.wav");
    ScopedEnv device("TARVIK_SOUND", AlsaTestConfig::kRefusingDevice);
    CSound sound;
    int code = sound.OpenOutput(WaveFormat{}, 1320, 0, -1);
    EXPECT_EQ(SoundErrorText(code), "??? Maybe Input being used at\n a different sample rate") << code;
}

TEST(CSound, SamplesAreTruncatedAndKeepTheirLow16Bits) {
    auto capture = std::make_shared<Capture>();
    CSound sound(CaptureDevices(capture));
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 6, 0, 2), 0);
    std::vector<double> samples = {0.9, -0.9, -1.7, 6702.9, 40000.0, 70000.0};
    EXPECT_EQ(sound.WriteSamples(samples.data(), 6), 6);
    EXPECT_EQ(capture->samples(), (std::vector<int16_t>{0, 0, -1, 6702, -25536, 4464}));
    EXPECT_EQ(capture->openedIds(), std::vector<int>{2});
}

TEST(CSound, AZeroCountOrTheStopLimitClosesTheDevice) {
    auto capture = std::make_shared<Capture>();
    CSound sound(CaptureDevices(capture));
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 4, 6, 0), 0);
    EXPECT_EQ(sound.WriteSamples(ramp(4).data(), 4), 4);
    EXPECT_EQ(sound.WriteSamples(ramp(2, 4).data(), 2), 0) << "the sixth sample reaches the limit";
    EXPECT_EQ(capture->samples(), (std::vector<int16_t>{0, 1, 2, 3, 4, 5})) << "the part buffer is played";
    EXPECT_EQ(sound.WriteSamples(ramp(2).data(), 2), -1);
    EXPECT_EQ(sound.ErrorCode(), 114);

    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 4, 0, 0), 0);
    EXPECT_EQ(sound.WriteSamples(nullptr, 0), 0);
    EXPECT_EQ(sound.ErrorCode(), 0);
}

TEST(CSound, ADeviceThatStopsTakingSamplesTimesOutAfter2000ms) {
    auto capture = std::make_shared<Capture>();
    capture->stallAfterPeriods = 2;
    CSound sound(CaptureDevices(capture));
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 100, 0, -1), 0);
    EXPECT_EQ(sound.WriteSamples(ramp(100).data(), 100), 100);
    EXPECT_EQ(sound.WriteSamples(ramp(100).data(), 100), 100);
    auto start = Clock::now();
    EXPECT_EQ(sound.WriteSamples(ramp(100).data(), 100), -1);
    EXPECT_GE(secondsSince(start), 1.9);
    EXPECT_EQ(sound.ErrorCode(), 116);
    EXPECT_EQ(sound.WriteSamples(ramp(100).data(), 100), -1);
    EXPECT_EQ(sound.ErrorCode(), 114);
}

TEST(CSound, ALargerWriteThanTheBufferGoesOnInTheNextOne) {
    auto capture = std::make_shared<Capture>();
    CSound sound(CaptureDevices(capture));
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 4, 0, 0), 0);
    EXPECT_EQ(sound.WriteSamples(ramp(10).data(), 10), 10);
    EXPECT_EQ(capture->samples().size(), 8u);
    sound.CloseOutput();
    EXPECT_EQ(capture->samples(), (std::vector<int16_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(CSound, ThroughAlsaEverySampleReachesTheFilePartBufferIncluded) {
    TempDir dir;
    AlsaTestConfig alsa("air.wav");
    CSound sound;
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 1320, 0, -1), 0) << sound.DeviceDetail();
    std::vector<double> samples = ramp(3 * 1320 + 100, -2000);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(sound.WriteSamples(samples.data() + i * 1320, 1320), 1320);
    ASSERT_EQ(sound.WriteSamples(samples.data() + 3 * 1320, 100), 100);
    sound.CloseOutput();
    EXPECT_EQ(sound.ErrorCode(), 0);
    WavSamples wav = ReadWavSamples("air.wav");
    ASSERT_TRUE(wav.valid);
    EXPECT_EQ(wav.sampleRate, 8000u);
    ASSERT_EQ(wav.samples.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(wav.samples[i], static_cast<int16_t>(samples[i])) << i;
}

// 800 samples are 100 ms at 8000 Hz.
TEST(WavFileDevice, PlaysFromTheSixthBufferAtTheCardsPace) {
    TempDir dir;
    ScopedEnv device("TARVIK_SOUND", "wav:air.wav");
    CSound sound;
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 800, 0, -1), 0);
    std::vector<double> frame = ramp(800);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(sound.WriteSamples(frame.data(), 800), 800);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_TRUE(ReadWavSamples("air.wav").samples.empty()) << "five buffers queued: nothing plays yet";

    auto start = Clock::now();
    for (int i = 0; i < 13; ++i) ASSERT_EQ(sound.WriteSamples(frame.data(), 800), 800);
    // Ten buffers fit; the last three wait for played ones.
    EXPECT_GE(secondsSince(start), 0.25);
    EXPECT_LT(secondsSince(start), 1.5);
    ASSERT_EQ(sound.WriteSamples(frame.data(), 300), 300);
    sound.CloseOutput();
    EXPECT_GE(secondsSince(start), 1.2) << "a normal close plays out what was queued";
    WavSamples wav = ReadWavSamples("air.wav");
    EXPECT_TRUE(wav.sizesAgree);
    EXPECT_EQ(wav.samples.size(), 18u * 800 + 300);
}

TEST(WavFileDevice, ResetCountersThenCloseDropsTheQueuedAudioAtOnce) {
    TempDir dir;
    ScopedEnv device("TARVIK_SOUND", "wav:air.wav");
    CSound sound;
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 800, 0, -1), 0);
    std::vector<double> frame = ramp(800);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(sound.WriteSamples(frame.data(), 800), 800);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    auto start = Clock::now();
    sound.ResetCounters();
    sound.CloseOutput();
    EXPECT_LT(secondsSince(start), 0.5);
    WavSamples wav = ReadWavSamples("air.wav");
    EXPECT_TRUE(wav.sizesAgree);
    EXPECT_LT(wav.samples.size(), 5u * 800);
}

TEST(WavFileDevice, OneFileCollectsEveryRunWithAValidHeader) {
    TempDir dir;
    ScopedEnv device("TARVIK_SOUND", "wav:air.wav");
    std::vector<double> frame = ramp(160);
    for (int run = 0; run < 2; ++run) {
        CSound sound;
        ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 160, 0, -1), 0);
        for (int i = 0; i < 3; ++i) ASSERT_EQ(sound.WriteSamples(frame.data(), 160), 160);
        sound.CloseOutput();
        EXPECT_EQ(ReadWavSamples("air.wav").samples.size(), (run + 1) * 3u * 160);
    }
    EXPECT_TRUE(ReadWavSamples("air.wav").sizesAgree);

    WriteBinaryFile("air.wav", "not a wave file");
    CSound sound;
    ASSERT_EQ(sound.OpenOutput(WaveFormat{}, 160, 0, -1), 0);
    ASSERT_EQ(sound.WriteSamples(frame.data(), 160), 160);
    sound.CloseOutput();
    EXPECT_EQ(ReadWavSamples("air.wav").samples.size(), 160u) << "anything else is started afresh";
}

TEST(WavFileDevice, APathThatCannotBeWrittenIsNoSuchDevice) {
    ScopedEnv device("TARVIK_SOUND", "wav:/nonexistent-folder/air.wav");
    CSound sound;
    EXPECT_EQ(sound.OpenOutput(WaveFormat{}, 160, 0, -1), 2);
    EXPECT_NE(sound.DeviceDetail().find("/nonexistent-folder/air.wav"), std::string::npos) << sound.DeviceDetail();
}
