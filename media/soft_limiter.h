// The master bus's limiter: keeps the sum of every voice and the music below
// full scale without clipping it. Below its threshold it leaves the sound
// untouched; above, a gain that rises fast and falls back slowly brings the
// peaks down to the threshold, and a soft knee bends what the gain has not
// yet caught toward a ceiling under full scale. Both stereo sides take the
// same gain, so the pan and the balance of music and effects stay as mixed.
#pragma once

#include <cmath>
#include <cstdint>

// Levels in sample units (full scale 32768). The music's own peaks stay
// under the threshold: the limiter is heard only where effects pile up.
constexpr float kLimiterThreshold = 29205.0f; // -1 dBFS
constexpr float kLimiterCeiling = 32018.0f;   // -0.2 dBFS

// Identity up to the threshold; above it, rises with slope 1 at the
// threshold and approaches the ceiling, never passing it. Odd: negative
// values bend alike.
inline float SoftKnee(float v) {
    const float magnitude = std::fabs(v);
    if (magnitude <= kLimiterThreshold) return v;
    constexpr float range = kLimiterCeiling - kLimiterThreshold;
    const float bent =
        kLimiterThreshold + range * std::tanh((magnitude - kLimiterThreshold) / range);
    return v < 0 ? -bent : bent;
}

class SoftLimiter {
  public:
    explicit SoftLimiter(int sampleRate);

    // Limits `frames` stereo frames of `stereo` (sample units) in place.
    void Process(float* stereo, int frames);
    // The gain the next frame starts from: 1 when nothing is being limited.
    float Gain() const;
    // Frames it has changed so far.
    std::int64_t LimitedFrames() const { return limitedFrames_; }

  private:
    float attack_, release_; // share of the way the envelope moves per frame
    float envelope_ = 0.0f;  // the peak level followed
    std::int64_t limitedFrames_ = 0;
};
