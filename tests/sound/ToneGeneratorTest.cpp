#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/ProgramState.h"
#include "sound/CGenerators.h"
#include "sound/CMSKGen.h"

namespace {

constexpr int kFrame = 1320;  // 45.45 baud, 5 data bits, 8000 Hz
const double kTwoPi = 8.0 * std::atan(1.0);

// Reads the keying back from the samples alone: each sample is cos + sin of
// a phase that advanced by either the mark or the space step, so following
// the phase tells which tone every sample was.
std::vector<bool> markPerSample(const std::vector<double>& samples, double startPhase) {
    const double markStep = kTwoPi * 2125.0 / 8000.0;
    const double spaceStep = kTwoPi * 2295.0 / 8000.0;
    std::vector<bool> marks;
    double phase = startPhase;
    for (double sample : samples) {
        double asMark = std::fmod(phase + markStep, kTwoPi);
        double asSpace = std::fmod(phase + spaceStep, kTwoPi);
        bool mark = std::fabs(std::cos(asMark) + std::sin(asMark) - sample) <
                    std::fabs(std::cos(asSpace) + std::sin(asSpace) - sample);
        phase = mark ? asMark : asSpace;
        marks.push_back(mark);
    }
    return marks;
}

struct Keyed {
    ProgramState state;
    CMSKGen keyer{state};
    Keyed() { keyer.Init(8000, 2210); }

    std::vector<double> frames(const std::vector<int>& codes) {
        std::vector<double> all;
        std::vector<double> frame(kFrame);
        for (int code : codes) {
            keyer.Generate(frame.data(), kFrame, code, 5);
            all.insert(all.end(), frame.begin(), frame.end());
        }
        return all;
    }
};

// Sample indices where a space run begins after mark.
std::vector<int> spaceStarts(const std::vector<bool>& marks) {
    std::vector<int> starts;
    for (std::size_t i = 1; i < marks.size(); ++i)
        if (!marks[i] && marks[i - 1]) starts.push_back(static_cast<int>(i));
    return starts;
}

}  // namespace

TEST(CMSKGen, TheStartBitMovesThroughTheFramesOnTheRunningBitClock) {
    Keyed k;
    std::vector<bool> marks = markPerSample(k.frames(std::vector<int>(40, 5)), 0.0);
    // Code 5 is 00101: start, then mark space mark space space, then the stop.
    std::vector<int> starts = spaceStarts(marks);
    ASSERT_EQ(starts.size(), 3u * 40);
    EXPECT_EQ(starts[0], 176) << "first frame: one full bit of mark first";
    EXPECT_EQ(starts[3] - kFrame, 88) << "second frame's start bit";

    // Mark after the last data bit up to the next start bit: the stop element.
    // A frame is 7.4994 bit times, so the stops take turns at 1 and 2 bits;
    // where the grid slips by the remainder, two short stops meet.
    std::vector<int> stopBits;
    int total = 0;
    for (std::size_t c = 0; c + 1 < 40; ++c) {
        int stop = starts[3 * (c + 1)] - (starts[3 * c] + 6 * 176);
        int bits = (stop + 88) / 176;
        ASSERT_NEAR(stop, bits * 176.0, 2.0) << "stop " << c;
        ASSERT_TRUE(bits == 1 || bits == 2) << "stop " << c << ": " << stop << " samples";
        if (!stopBits.empty()) {
            ASSERT_FALSE(bits == 2 && stopBits.back() == 2) << "stop " << c;
        }
        stopBits.push_back(bits);
        total += bits;
    }
    EXPECT_EQ((std::vector<int>(stopBits.begin(), stopBits.begin() + 5)), (std::vector<int>{1, 1, 2, 1, 2}));
    EXPECT_NEAR(total / 39.0, 1.5, 0.05);
}

TEST(CMSKGen, AnIdleFrameIsAllMarkAndKeepsTheBitGrid) {
    Keyed k;
    std::vector<double> samples = k.frames({5, 0, 5});
    std::vector<bool> marks = markPerSample(samples, 0.0);
    EXPECT_EQ(std::count(marks.begin() + kFrame, marks.begin() + 2 * kFrame, false), 0);
    std::vector<int> starts = spaceStarts(marks);
    ASSERT_GE(starts.size(), 4u);
    double bitSamples = 8000.0 / 45.45f;
    double bitsApart = (starts[3] - starts[0]) / bitSamples;
    EXPECT_NEAR(bitsApart, std::round(bitsApart), 0.02);
}

TEST(CMSKGen, CodeZeroIsNeverACharacter) {
    Keyed k;
    std::vector<bool> marks = markPerSample(k.frames({0, 0}), 0.0);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), false), 0);
}

TEST(CMSKGen, ThePatternSetsEveryElementAfterTheDataBitsToMark) {
    struct Case { int code, dataBits, pattern; };
    for (Case c : {Case{5, 5, 0xE5}, Case{5, 6, 0xC5}, Case{5, 7, 0x85}, Case{0x41, 8, 0x41}, Case{0x1F, 4, 0xFF}})
        EXPECT_EQ(CMSKGen::CharacterPattern(c.code, c.dataBits), c.pattern) << c.code << "/" << c.dataBits;
}

TEST(CMSKGen, ThePhaseRunsOnAcrossKeyersAndTransmissions) {
    ProgramState state;
    std::vector<double> first(kFrame), second(kFrame);
    {
        CMSKGen keyer(state);
        keyer.Init(8000, 2210);
        keyer.Generate(first.data(), kFrame, 0, 5);
    }
    double carried = state.tonePhase;
    EXPECT_NE(carried, 0.0);
    CMSKGen next(state);
    next.Init(8000, 2210);
    next.Generate(second.data(), kFrame, 0, 5);
    double expected = std::fmod(carried + kTwoPi * 2125.0 / 8000.0, kTwoPi);
    EXPECT_NEAR(second[0], std::cos(expected) + std::sin(expected), 1e-9);
    EXPECT_NEAR(first.back(), std::cos(carried) + std::sin(carried), 1e-9);
}

TEST(CGenerators, TheGainBringsThePeakToAbout6702) {
    Keyed k;
    std::vector<double> samples = k.frames({5, 25, 0});
    CGenerators().ApplyGain(static_cast<int>(samples.size()), samples.data(), CGenerators::kOutputGain);
    double peak = 0;
    for (double s : samples) peak = std::max(peak, std::fabs(s));
    EXPECT_LE(peak, 4739.0 * std::sqrt(2.0) + 1e-6);
    EXPECT_GT(peak, 6690.0);
}
