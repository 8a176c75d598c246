// The synthesis toolkit: the deterministic math, the loop helpers, the
// limiter and the wave writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "synth.h"
#include "synth_voices.h"
#include "synth_wave.h"

using namespace synth;

namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(AudioSynth, OwnSineAndExponentialMatchTheLibraryClosely) {
    double worstSin = 0, worstExp = 0;
    for (int i = -4000; i <= 4000; ++i) {
        const double cycles = i / 997.0;
        worstSin = std::max(worstSin, std::fabs(Sin01(cycles) - std::sin(2 * kPi * cycles)));
        const double x = i / 100.0;
        worstExp = std::max(worstExp, std::fabs(Exp(x) / std::exp(x) - 1));
    }
    EXPECT_LT(worstSin, 1e-10);
    EXPECT_LT(worstExp, 1e-13);
    EXPECT_DOUBLE_EQ(NoteHz(69), 440.0);
    EXPECT_NEAR(NoteHz(60), 261.6256, 1e-4);
    EXPECT_EQ(Exp(-2000), 0.0); // far below a double's range: zero, not garbage
}

TEST(AudioSynth, SoftClipStaysWithinFullScaleAndIsContinuous) {
    double last = SoftClip(-4);
    for (int i = -399; i <= 400; ++i) {
        const double v = SoftClip(i / 100.0);
        EXPECT_LE(std::fabs(v), 1.0);
        EXPECT_GE(v, last); // rising, no jump at the +-3 joins
        EXPECT_LT(v - last, 0.02);
        last = v;
    }
}

TEST(AudioSynth, PulseOfAnyWidthHasNoDcOffset) {
    for (double width : {0.25, 0.5, 0.125}) {
        double sum = 0, phase = 0;
        const double step = 100.0 / 22050; // 100 Hz, many whole cycles below
        for (int n = 0; n < 22050; ++n) {
            sum += PulseBlep(phase, step, width);
            phase = Advance(phase, step);
        }
        EXPECT_NEAR(sum / 22050, 0.0, 0.01) << "width " << width;
    }
}

TEST(AudioSynth, LimiterHoldsTheCeilingWithoutTouchingQuietParts) {
    Stereo s;
    Resize(s, 22050);
    for (std::size_t n = 0; n < s.left.size(); ++n) {
        const double hit = n >= 11000 && n < 11200 ? 2.5 : 0.3; // a loud burst
        s.left[n] = hit * Sin01(n * 440.0 / 22050);
        s.right[n] = -s.left[n];
    }
    const Stereo before = s;
    Limit(s, 22050, 0.9);
    EXPECT_LE(Peak(s), 0.9 + 1e-9);
    // Well before the burst nothing changes; after it the level recovers.
    EXPECT_DOUBLE_EQ(s.left[5000], before.left[5000]);
    EXPECT_NEAR(Peak(Signal(s.left.begin() + 20000, s.left.end())), 0.3, 1e-3);
}

TEST(AudioSynth, LoopHelpersKeepTheLoopSeamless) {
    const std::size_t length = 4410;
    Lcg noise{5};
    Signal rendered(length + 600);
    for (double& v : rendered) v = noise.White();
    Signal folded = rendered;
    FoldTail(folded, length);
    ASSERT_EQ(folded.size(), length);
    EXPECT_EQ(folded[10], rendered[10] + rendered[10 + length]); // the overhang lands on the start
    EXPECT_EQ(folded[700], rendered[700]);

    Signal loop(length);
    for (double& v : loop) v = noise.White();
    Biquad filter = LowPass(22050, 800);
    ProcessLoop(loop, [&](double v) { return filter.Process(v); });
    // The filter's state at the end carries on into the first sample.
    double worstStep = 0;
    for (std::size_t i = 1; i < loop.size(); ++i)
        worstStep = std::max(worstStep, std::fabs(loop[i] - loop[i - 1]));
    EXPECT_LE(std::fabs(loop.front() - loop.back()), worstStep);

    Signal twice = loop;
    twice.insert(twice.end(), loop.begin(), loop.end());
    const Signal original = loop;
    RotateToQuietStart(loop, 22050);
    // Only turned: the same samples in the same circular order.
    const auto start = std::search(twice.begin(), twice.end(), loop.begin(), loop.begin() + 64);
    ASSERT_NE(start, twice.end());
    const std::size_t shift = static_cast<std::size_t>(start - twice.begin()) % length;
    for (std::size_t i = 0; i < length; i += 97) EXPECT_EQ(loop[i], original[(i + shift) % length]);
    EXPECT_LT(std::fabs(loop.front()) + std::fabs(loop.back()), 0.3 * Peak(loop));
}

TEST(AudioSynth, WavesAreRiffPcmWithConsistentSizes) {
    Stereo s;
    s.left = {0.5, -0.5, 1.5};
    s.right = {-1.5, 0.25, 0.0};
    const std::vector<std::uint8_t> bytes = EncodeWave(s, 22050);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(Read32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Read32(bytes, 16), 16u);
    EXPECT_EQ(bytes[22], 2);                  // channels
    EXPECT_EQ(Read32(bytes, 24), 22050u);     // rate
    EXPECT_EQ(Read32(bytes, 28), 22050u * 4); // bytes per second
    EXPECT_EQ(bytes[32], 4);                  // block align
    EXPECT_EQ(Read32(bytes, 40), 12u);        // data size
    // Interleaved left/right, clamped at full scale rather than wrapped.
    const auto sample = [&](int i) {
        return static_cast<std::int16_t>(bytes[44 + 2 * i] | bytes[45 + 2 * i] << 8);
    };
    EXPECT_EQ(sample(0), 16384);
    EXPECT_EQ(sample(1), -32768);
    EXPECT_EQ(sample(4), 32767);
    EXPECT_THROW(EncodeWave(std::vector<std::int16_t>{1, 2, 3}, 2, 22050), std::invalid_argument);
}

TEST(AudioSynth, PluckedNoteSoundsAtItsPitch) {
    // The lag at which a plucked A3 best matches itself is its period.
    const Signal note = Pluck(22050, 220, 1.0, 0.3, 2.0, 9);
    int bestLag = 0;
    double best = -1;
    for (int lag = 22050 / 1000; lag <= 22050 / 50; ++lag) {
        double sum = 0;
        for (std::size_t i = 2205; i < 2205 + 4410; ++i) sum += note[i] * note[i + lag];
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    EXPECT_NEAR(22050.0 / bestLag, 220.0, 2.0);
}

} // namespace
