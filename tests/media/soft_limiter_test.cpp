// The master bus's limiter: untouched below its threshold, never at full
// scale whatever comes in, without jumps, and back to unity after a burst.
#include "media/soft_limiter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "media/mixer.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Stereo frames of a sine of `amplitude` (sample units) at `hz`; the right
// side at `rightShare` of the left.
std::vector<float> sine(int frames, double amplitude, double hz, double rightShare = 1.0,
                        int phase = 0) {
    std::vector<float> stereo(2 * static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(kTwoPi * hz * (i + phase) / kDeviceRate);
        stereo[2 * i] = static_cast<float>(v);
        stereo[2 * i + 1] = static_cast<float>(v * rightShare);
    }
    return stereo;
}

float largestStep(const std::vector<float>& stereo) {
    float step = 0.0f;
    for (std::size_t i = 2; i < stereo.size(); ++i)
        step = std::max(step, std::fabs(stereo[i] - stereo[i - 2]));
    return step;
}

float peak(const std::vector<float>& stereo) {
    float p = 0.0f;
    for (float v : stereo) p = std::max(p, std::fabs(v));
    return p;
}

TEST(SoftKnee, IsTheIdentityBelowTheThresholdAndBendsSmoothlyUnderTheCeilingAbove) {
    for (float v : {0.0f, 1.0f, -1.0f, 12345.5f, -20000.0f, kLimiterThreshold, -kLimiterThreshold})
        EXPECT_EQ(SoftKnee(v), v) << v;
    // Rising and odd, with no jump or kink at the threshold: slope 1 there,
    // never steeper anywhere.
    float previous = SoftKnee(kLimiterThreshold - 400.0f);
    for (float v = kLimiterThreshold - 399.5f; v < 200000.0f; v += 0.5f) {
        const float bent = SoftKnee(v);
        EXPECT_GE(bent, previous) << v;
        EXPECT_LE(bent - previous, 0.5f + 1e-2f) << v;
        EXPECT_LE(bent, kLimiterCeiling) << v;
        EXPECT_EQ(SoftKnee(-v), -bent) << v;
        previous = bent;
    }
    EXPECT_NEAR(SoftKnee(kLimiterThreshold + 1.0f) - SoftKnee(kLimiterThreshold), 1.0f, 1e-3f);
    EXPECT_LE(SoftKnee(1e30f), kLimiterCeiling);
    EXPECT_GE(SoftKnee(-1e30f), -kLimiterCeiling);
}

TEST(SoftLimiter, LeavesSoundBelowItsThresholdUntouched) {
    SoftLimiter limiter(kDeviceRate);
    // Music and effects that stay below the threshold, in blocks of any size.
    const std::vector<float> in = sine(20000, kLimiterThreshold, 441.0, -0.6);
    std::vector<float> out = in;
    limiter.Process(out.data(), 7);
    limiter.Process(out.data() + 14, 19993);
    EXPECT_EQ(out, in);
    EXPECT_EQ(limiter.Gain(), 1.0f);
    EXPECT_EQ(limiter.LimitedFrames(), 0);
}

TEST(SoftLimiter, NeverReachesFullScaleWhateverComesIn) {
    SoftLimiter limiter(kDeviceRate);
    std::vector<float> loud;
    // A sudden square at ten times full scale, a lone spike, a sine that
    // swells past full scale, silence between.
    for (int i = 0; i < 4000; ++i)
        loud.insert(loud.end(), 2, (i / 50) % 2 ? 327680.0f : -327680.0f);
    loud.insert(loud.end(), 2000, 0.0f);
    loud.insert(loud.end(), {3.0e38f, -3.0e38f});
    for (int i = 0; i < 40000; ++i) {
        const float v = static_cast<float>(i) * std::sin(kTwoPi * 200.0 * i / kDeviceRate);
        loud.insert(loud.end(), {v, -v});
    }
    limiter.Process(loud.data(), static_cast<int>(loud.size() / 2));
    EXPECT_LE(peak(loud), kLimiterCeiling);
    EXPECT_LT(kLimiterCeiling, 32767.0f);

    // The wildest spike holds the gain down for a moment only.
    std::vector<float> quiet = sine(88200, 8000.0, 300.0);
    limiter.Process(quiet.data(), 88200);
    EXPECT_EQ(limiter.Gain(), 1.0f);

    // A broken source (not a number, infinite) is silenced rather than kept.
    SoftLimiter fresh(kDeviceRate);
    std::vector<float> broken{NAN, 100.0f, INFINITY, -INFINITY, 100.0f, 100.0f};
    fresh.Process(broken.data(), 3);
    EXPECT_EQ(broken, (std::vector<float>{0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 100.0f}));
}

TEST(SoftLimiter, RidesTheGainWithoutJumpsAndReturnsToUnityAfterABurst) {
    SoftLimiter limiter(kDeviceRate);
    // Half a second of music under the threshold, an effect burst at twice
    // full scale for a second, then the music alone again.
    std::vector<float> in = sine(22050, 8000.0, 300.0);
    const std::vector<float> burst = sine(44100, 65536.0, 300.0, 0.5, 22050);
    in.insert(in.end(), burst.begin(), burst.end());
    const std::vector<float> after = sine(88200, 8000.0, 300.0, 1.0, 66150);
    in.insert(in.end(), after.begin(), after.end());
    std::vector<float> out = in;
    limiter.Process(out.data(), static_cast<int>(out.size() / 2));

    // No step in the output larger than the largest of the input.
    EXPECT_LE(largestStep(out), largestStep(in));
    // Held near the threshold during the burst, not crushed, and both sides
    // alike: the right keeps half the left, so the picture does not move.
    const std::size_t heldFrame = 22050 + 30000;
    float heldPeak = 0.0f;
    for (std::size_t i = heldFrame; i < heldFrame + 4410; ++i) {
        heldPeak = std::max(heldPeak, std::fabs(out[2 * i]));
        EXPECT_NEAR(out[2 * i + 1], 0.5f * out[2 * i], 0.01f * std::fabs(out[2 * i]) + 1.0f) << i;
    }
    EXPECT_GT(heldPeak, 0.95f * kLimiterThreshold);
    EXPECT_LE(heldPeak, kLimiterCeiling);
    // The music comes back to its own level within a second and a half and
    // is untouched once the gain is back at unity.
    const std::size_t back = 22050 + 44100 + 66150;
    EXPECT_GT(limiter.Gain(), 0.999f);
    EXPECT_GT(limiter.LimitedFrames(), 44100 / 2); // the burst and the release after it
    const std::vector<float> lastSecond(in.begin() + 2 * back, in.end());
    const std::vector<float> heard(out.begin() + 2 * back, out.end());
    EXPECT_NEAR(peak(heard), peak(lastSecond), peak(lastSecond) * 0.002f);
}

// Stands in for music: a constant level on both sides.
class LevelSource : public AudioSource {
  public:
    explicit LevelSource(float level) : level_(level) {}
    void Render(float* stereo, int frames) override {
        std::fill(stereo, stereo + 2 * frames, level_);
    }

  private:
    float level_;
};

TEST(Mixer, ManyFullScaleVoicesAndLoudMusicNeverGiveAFullScaleSample) {
    Mixer mixer;
    SoundSamples square{1, {}};
    for (int i = 0; i < 4410; ++i) square.samples.push_back((i / 30) % 2 ? 32767 : -32768);
    const auto samples = std::make_shared<const SoundSamples>(std::move(square));
    for (int v = 0; v < 40; ++v) {
        mixer.Assign(v, samples);
        mixer.SetPosition(v, static_cast<std::size_t>(v % 3));
        mixer.Start(v, true);
    }
    mixer.SetMusic(std::make_shared<LevelSource>(0.9f));
    std::vector<std::int16_t> out(2 * 44100);
    for (int block = 0; block < 4; ++block) {
        mixer.Mix(out.data(), 44100);
        const auto [low, high] = std::minmax_element(out.begin(), out.end());
        EXPECT_GT(*low, -32768) << block;
        EXPECT_LT(*high, 32767) << block;
    }
}

} // namespace
