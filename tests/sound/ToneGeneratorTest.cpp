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

TEST(CMSKGen, EveryCharacterStartsItsFrameAndKeepsAStopOfOneAndAHalfBits) {
    Keyed k;
    // An idle frame first, so the first start bit follows mark as the others do.
    std::vector<int> codes(41, 5);
    codes[0] = 0;
    std::vector<bool> marks = markPerSample(k.frames(codes), 0.0);
    // Code 5 is 00101: start, then mark space mark space space, then the stop.
    std::vector<int> starts = spaceStarts(marks);
    ASSERT_EQ(starts.size(), 3u * 40);
    for (std::size_t c = 0; c < 40; ++c) {
        ASSERT_EQ(starts[3 * c], static_cast<int>(c + 1) * kFrame) << "character " << c;
        ASSERT_NEAR(starts[3 * c + 1] - starts[3 * c], 2 * 176, 1) << "start and first data bit";
    }
    // From the end of the last data bit to the next start: 7.5 - 6 bit times
    // (a bit is 176.02 samples, so a boundary may fall a sample later).
    for (std::size_t c = 0; c + 1 < 40; ++c)
        ASSERT_NEAR(starts[3 * (c + 1)] - (starts[3 * c] + 6 * 176), 264, 2) << "stop " << c;
}

TEST(CMSKGen, MoreDataBitsKeepAStopOfTwoBits) {
    struct Case { int dataBits; int frameBits; };
    for (Case c : {Case{6, 9}, Case{7, 10}, Case{8, 11}}) {
        ProgramState state;
        state.BAUD = 100.0f;
        CMSKGen keyer(state);
        keyer.Init(8000, 2210);
        const int bit = 80, frame = c.frameBits * bit;
        std::vector<double> samples(2 * frame);
        keyer.Generate(samples.data(), frame, 0x01, c.dataBits);
        keyer.Generate(samples.data() + frame, frame, 0x01, c.dataBits);
        // 0x01: start (space), one mark, then spaces up to the data bits' end.
        std::vector<bool> marks = markPerSample(samples, 0.0);
        int lastSpace = static_cast<int>(std::find(marks.begin() + 2 * bit, marks.end(), true) - marks.begin());
        EXPECT_EQ(lastSpace, (1 + c.dataBits) * bit) << c.dataBits;
        EXPECT_EQ(frame - lastSpace, 2 * bit) << c.dataBits;
        EXPECT_FALSE(marks[static_cast<std::size_t>(frame)]) << "the next start bit begins its frame";
    }
}

TEST(CMSKGen, AnIdleFrameIsAllMarkAndTheNextCharacterStartsItsOwnFrame) {
    Keyed k;
    std::vector<double> samples = k.frames({0, 5, 0, 5});
    std::vector<bool> marks = markPerSample(samples, 0.0);
    EXPECT_EQ(std::count(marks.begin() + 2 * kFrame, marks.begin() + 3 * kFrame, false), 0);
    std::vector<int> starts = spaceStarts(marks);
    ASSERT_GE(starts.size(), 4u);
    EXPECT_EQ(starts[0], kFrame);
    EXPECT_EQ(starts[3], 3 * kFrame);
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
