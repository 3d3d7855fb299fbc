#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdlib>

#include "coding/PskStartReport.h"
#include "sound/psk31/Psk31Modulator.h"
#include "sound/psk31/Psk31SoundLibrary.h"
#include "support/AlsaTestConfig.h"
#include "support/CaptureOutput.h"
#include "support/Psk31Demodulator.h"
#include "support/StationFixture.h"
#include "support/WavSamples.h"

namespace {

const double kPi = 4.0 * std::atan(1.0);

std::string_view testMorse(int ch) {
    if (ch == 'E') return "1";
    if (ch == 'T') return "2";
    return "3";
}

struct PskFixture {
    explicit PskFixture(CSound::DeviceFactory devices = {}) : library(s.log, s.pump, testMorse, std::move(devices)) {}

    void queue(const std::string& text) {
        for (unsigned char ch : text) library.QueueCharacter(ch, 0);
    }
    // Start, everything queued, stop, and the transmission's end.
    void transmit(const std::string& text) {
        queue(text);
        library.StartTransmit();
        library.StopTransmit();
        waitForEnd();
    }
    void waitForEnd() {
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (library.Transmitting() && std::chrono::steady_clock::now() < limit) s.waits.PumpMessages();
        ASSERT_FALSE(library.Transmitting());
    }
    bool logged(const std::string& part) {
        for (const std::string& line : s.logMessages())
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    StationFixture s;
    Psk31SoundLibrary library;
};

// The carrier's envelope, sample by sample: mixed down and averaged over one
// carrier cycle (8 samples at 1000 Hz), which leaves the envelope alone.
std::vector<double> envelope(const std::vector<int16_t>& samples, double carrier) {
    const int cycle = static_cast<int>(8000 / carrier);
    std::vector<double> result;
    std::complex<double> sum = 0;
    std::vector<std::complex<double>> mixed(samples.size());
    for (std::size_t n = 0; n < samples.size(); ++n) {
        mixed[n] = std::polar(static_cast<double>(samples[n]), -2 * kPi * carrier * n / 8000.0);
        sum += mixed[n];
        if (n >= static_cast<std::size_t>(cycle)) sum -= mixed[n - cycle];
        result.push_back(2.0 * std::abs(sum) / cycle);
    }
    return result;
}

// Lengths of the runs at least `longest` long where the envelope is above
// (on) or below (off) the given share of the peak.
std::vector<int> runs(const std::vector<double>& level, bool on, double share, int longest) {
    std::vector<int> found;
    int length = 0;
    for (double value : level) {
        bool inRun = on ? value > share * Psk31Modulator::kPeak : value < share * Psk31Modulator::kPeak;
        if (inRun) {
            ++length;
            continue;
        }
        if (length >= longest) found.push_back(length);
        length = 0;
    }
    if (length >= longest) found.push_back(length);
    return found;
}

}  // namespace

TEST(Psk31SoundLibrary, OpenFailuresGiveTheCodesOfTheStartReport) {
    struct Case { int soundCode; int startCode; };
    for (Case c : {Case{0, 0}, Case{2, 21}, Case{32, 17}, Case{3, 22}, Case{4, 23}, Case{6, 25}, Case{8, 26},
                   Case{12, 30}, Case{100, 33}, Case{116, 33}})
        EXPECT_EQ(Psk31SoundLibrary::StartResultFor(c.soundCode), c.startCode) << c.soundCode;
    EXPECT_EQ(PskStartErrorText(21), "Bad Device ID, Soundcard Not Present");

    PskFixture f;
    ::setenv("TARVIK_SOUND3", "plughw:31", 1);
    EXPECT_EQ(f.library.OpenSoundCard(2), 21);
    ::unsetenv("TARVIK_SOUND3");
    EXPECT_TRUE(f.logged("\"plughw:31\""));

    AlsaTestConfig alsa("unused.wav");
    ::setenv("TARVIK_SOUND", AlsaTestConfig::kRefusingDevice, 1);
    EXPECT_EQ(f.library.OpenSoundCard(-1), 17);
    ::unsetenv("TARVIK_SOUND");
    f.library.StartTransmit();
    EXPECT_EQ(f.library.PendingCharacters(), 0) << "nothing runs without an open card";
}

// Through ALSA's file writer on a null slave, read back by our receiver.
TEST(Psk31SoundLibrary, TextComesBackFromTheWavAtTheRequestedCarrier) {
    PskFixture f;
    AlsaTestConfig alsa("air.wav");
    ASSERT_EQ(f.library.OpenSoundCard(-1), 0);
    f.library.SetCarrierFrequency(1000);
    f.transmit("CQ CQ de Tarvik: 73, pse k\r\n");
    f.library.CloseSoundCard();

    WavSamples wav = ReadWavSamples("air.wav");
    ASSERT_TRUE(wav.valid);
    Psk31Reception heard = DemodulatePsk31(wav.samples, wav.sampleRate, 1000);
    EXPECT_NE(heard.text.find("CQ CQ de Tarvik: 73, pse k\r\n"), std::string::npos) << heard.text;
    for (double step : heard.phaseSteps) {
        double fromBit = std::min(std::fabs(step), kPi - std::fabs(step));
        ASSERT_LT(fromBit, 0.2) << "every symbol is a clean reversal or none";
    }
    EXPECT_EQ(DemodulatePsk31(wav.samples, wav.sampleRate, 1100).text.find("Tarvik"), std::string::npos);
}

TEST(Psk31SoundLibrary, PhaseReversalsAreShapedNotAbrupt) {
    auto capture = std::make_shared<Capture>();
    PskFixture f(CaptureDevices(capture));
    ASSERT_EQ(f.library.OpenSoundCard(0), 0);
    f.library.SetCarrierFrequency(1000);
    f.transmit("ee");
    std::vector<int16_t> samples = capture->samples();
    ASSERT_GT(samples.size(), 64u * Psk31Modulator::kSymbolSamples);

    double carrierStep = 2 * kPi * 1000 / 8000;
    int largestStep = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
    EXPECT_LT(largestStep, Psk31Modulator::kPeak * (2 * std::sin(carrierStep / 2) + 0.03));

    // In the preamble of reversals the envelope falls to nothing once a symbol, smoothly.
    std::vector<double> level = envelope(samples, 1000);
    std::vector<double> preamble(level.begin() + 2 * 256, level.begin() + 30 * 256);
    EXPECT_LT(*std::min_element(preamble.begin(), preamble.end()), 0.05 * Psk31Modulator::kPeak);
    EXPECT_GT(*std::max_element(preamble.begin(), preamble.end()), 0.95 * Psk31Modulator::kPeak);
    for (std::size_t i = 1; i < preamble.size(); ++i)
        ASSERT_LT(std::fabs(preamble[i] - preamble[i - 1]), 0.03 * Psk31Modulator::kPeak) << i;
}

TEST(Psk31SoundLibrary, TheIdentificationIsKeyedInMorseOnTheCarrier) {
    auto capture = std::make_shared<Capture>();
    PskFixture f(CaptureDevices(capture));
    ASSERT_EQ(f.library.OpenSoundCard(0), 0);
    f.library.SetCarrierFrequency(1000);
    f.library.SetCwIdText("ET");
    f.library.QueueCharacter(kPskControlSendCwId, 1);
    f.library.StartTransmit();
    f.library.StopTransmit();
    f.waitForEnd();

    std::vector<double> level = envelope(capture->samples(), 1000);
    level.erase(level.begin(), level.begin() + (1 + Psk31Sender::kPreambleSymbols) * Psk31Modulator::kSymbolSamples);
    const int unit = Psk31Sender::kMorseUnitSymbols * Psk31Modulator::kSymbolSamples;
    std::vector<int> keyed = runs(level, true, 0.5, unit / 2);
    std::vector<int> gaps = runs(level, false, 0.5, unit / 2);
    ASSERT_GE(keyed.size(), 3u);
    EXPECT_NEAR(keyed[0], unit, 16) << "E: a dot";
    EXPECT_NEAR(keyed[1], 3 * unit, 16) << "T: a dash";
    EXPECT_GT(keyed[2], Psk31Sender::kPostambleSymbols * Psk31Modulator::kSymbolSamples) << "carrier to the postamble";
    ASSERT_GE(gaps.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(gaps[i], 3 * unit, 16) << "gap " << i;
}

TEST(Psk31SoundLibrary, AbandonCutsTheTransmissionAndEmptiesTheQueue) {
    auto capture = std::make_shared<Capture>();
    capture->periodTime = std::chrono::microseconds(2000);
    PskFixture f(CaptureDevices(capture));
    ASSERT_EQ(f.library.OpenSoundCard(0), 0);
    int dropsBefore = capture->drops();
    f.queue(std::string(200, 'x'));
    f.library.StartTransmit();
    while (capture->samples().size() < 40u * Psk31Modulator::kSymbolSamples) f.s.waits.PumpMessages();
    EXPECT_GT(f.library.PendingCharacters(), 100);
    f.library.AbandonTransmit();
    EXPECT_EQ(f.library.PendingCharacters(), 0);
    f.waitForEnd();
    EXPECT_EQ(capture->drops(), dropsBefore + 1);
    EXPECT_LT(capture->samples().size(), 100u * Psk31Modulator::kSymbolSamples);
}

TEST(Psk31SoundLibrary, FlushDropsWhatWaitsAndCharactersWithoutVaricodeAreLogged) {
    auto capture = std::make_shared<Capture>();
    PskFixture f(CaptureDevices(capture));
    ASSERT_EQ(f.library.OpenSoundCard(0), 0);
    f.library.SetCarrierFrequency(1000);
    f.queue("dropped");
    EXPECT_EQ(f.library.PendingCharacters(), 7);
    f.library.FlushQueue();
    EXPECT_EQ(f.library.PendingCharacters(), 0);
    f.library.QueueCharacter(200, 0);
    f.library.QueueCharacter(0, 0);
    f.transmit("ok");
    EXPECT_TRUE(f.logged("character 200 has no Varicode"));
    Psk31Reception heard = DemodulatePsk31(capture->samples(), 8000, 1000);
    EXPECT_EQ(heard.text, "ok");
}

// Mend: a card that failed at the start of a transmission left the queue
// without a reader, and the next SendCode waited on it for ever.
TEST(Psk31SoundLibrary, ACardThatFailedCannotSendUntilTheNextStart) {
    auto capture = std::make_shared<Capture>();
    PskFixture f(CaptureDevices(capture));
    EXPECT_FALSE(f.library.CanSend()) << "no card open";
    ASSERT_EQ(f.library.OpenSoundCard(0), 0);
    EXPECT_TRUE(f.library.CanSend());

    capture->openResult = 4;
    f.library.StartTransmit();
    f.waitForEnd();
    EXPECT_FALSE(f.library.CanSend());
    f.s.state.MODE = kModePsk31;
    OutputRouter router(f.s.state, f.s.log, f.s.waits, f.library, f.s.line);
    for (char c : std::string("cq cq de")) router.SendCode(c);
    EXPECT_EQ(f.library.PendingCharacters(), 0);
    EXPECT_TRUE(f.logged("SendCode : the PSK31 library cannot send"));

    capture->openResult = 0;
    f.library.SetCarrierFrequency(1000);
    f.transmit("ok");
    EXPECT_TRUE(f.library.CanSend());
    EXPECT_EQ(DemodulatePsk31(capture->samples(), 8000, 1000).text, "ok");
    f.library.CloseSoundCard();
    EXPECT_FALSE(f.library.CanSend());
}
