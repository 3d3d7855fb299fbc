// What the sound path costs: one second of FSK audio and of PSK31 audio made
// and converted as the station makes them (keyer, gain, 16-bit conversion
// into a device that plays instantly), as a share of one core, and how many
// character frames a second the keyer alone can make. Run by hand:
//   cmake -DTARVIK_BENCH=ON ... && ./bench/SoundBench

#include <benchmark/benchmark.h>

#include <vector>

#include "app/ProgramState.h"
#include "sound/CGenerators.h"
#include "sound/CMSKGen.h"
#include "sound/CProcThread.h"
#include "sound/CSound.h"
#include "sound/psk31/Psk31Modulator.h"

namespace {

constexpr unsigned kRate = 8000;

// Takes every sample at once, so only the station's own work is timed.
class DiscardOutput : public AudioOutput {
public:
    int open(const AudioLayout&) override { return 0; }
    bool waitForRoom(std::chrono::milliseconds) override { return true; }
    Write write(const int16_t* samples, int frames) override {
        benchmark::DoNotOptimize(samples[frames - 1]);
        return Write::Taken;
    }
    int queuedFrames() override { return 0; }
    void start() override {}
    void drop() override {}
    void close() override {}
    std::string lastError() const override { return ""; }
};

CSound::DeviceFactory discard() {
    return [](int) { return std::make_unique<DiscardOutput>(); };
}

void reportShareOfCore(benchmark::State& state) {
    // Each iteration is one second of audio: the inverted rate of hundredths
    // of iterations is the percent of a core that one second of air costs.
    state.counters["core_share_percent"] = benchmark::Counter(
        static_cast<double>(state.iterations()) / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void FskOneSecond(benchmark::State& state) {
    ProgramState station;
    int frame = CProcThread::FrameLength(station.BAUD, kRate, 5);
    CMSKGen keyer(station);
    keyer.Init(kRate, station.toneCenter);
    CGenerators stage;
    CSound sound(discard());
    sound.OpenOutput(WaveFormat{}, frame, 0, -1);
    std::vector<double> samples(static_cast<std::size_t>(frame));
    int code = 1;
    for (auto _ : state) {
        for (int made = 0; made < static_cast<int>(kRate); made += frame) {
            keyer.Generate(samples.data(), frame, code, 5);
            stage.ApplyGain(frame, samples.data(), CGenerators::kOutputGain);
            sound.WriteSamples(samples.data(), frame);
            code = code % 31 + 1;
        }
    }
    reportShareOfCore(state);
}
BENCHMARK(FskOneSecond)->Unit(benchmark::kMicrosecond);

void Psk31OneSecond(benchmark::State& state) {
    Psk31Modulator modulator;
    modulator.setCarrier(1500);
    CSound sound(discard());
    sound.OpenOutput(WaveFormat{}, Psk31Modulator::kSymbolSamples, 0, -1);
    double symbol[Psk31Modulator::kSymbolSamples];
    int bit = 0;
    for (auto _ : state) {
        for (int made = 0; made < static_cast<int>(kRate); made += Psk31Modulator::kSymbolSamples) {
            modulator.symbol(bit, symbol);
            sound.WriteSamples(symbol, Psk31Modulator::kSymbolSamples);
            bit ^= 1;
        }
    }
    reportShareOfCore(state);
}
BENCHMARK(Psk31OneSecond)->Unit(benchmark::kMicrosecond);

void KeyerFrames(benchmark::State& state) {
    ProgramState station;
    int frame = CProcThread::FrameLength(station.BAUD, kRate, 5);
    CMSKGen keyer(station);
    keyer.Init(kRate, station.toneCenter);
    std::vector<double> samples(static_cast<std::size_t>(frame));
    for (auto _ : state) {
        keyer.Generate(samples.data(), frame, 25, 5);
        benchmark::DoNotOptimize(samples.data());
    }
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                             benchmark::Counter::kIsRate);
}
BENCHMARK(KeyerFrames)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
