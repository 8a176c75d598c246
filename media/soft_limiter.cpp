#include "media/soft_limiter.h"

#include <algorithm>

namespace {

constexpr double kAttackSeconds = 0.002;
constexpr double kReleaseSeconds = 0.25;
// The envelope follows peaks up to this (eight times full scale, 18 dB of
// gain reduction at most): a wild spike from a broken source must not hold
// the gain down for seconds; the knee takes whatever lies beyond.
constexpr float kLargestFollowedPeak = 8.0f * 32768.0f;

float shareOfTheWay(double seconds, int sampleRate) {
    return static_cast<float>(1.0 - std::exp(-1.0 / (seconds * std::max(sampleRate, 1))));
}

float gainFor(float envelope) {
    return envelope > kLimiterThreshold ? kLimiterThreshold / envelope : 1.0f;
}

} // namespace

SoftLimiter::SoftLimiter(int sampleRate)
    : attack_(shareOfTheWay(kAttackSeconds, sampleRate)),
      release_(shareOfTheWay(kReleaseSeconds, sampleRate)) {}

void SoftLimiter::Process(float* stereo, int frames) {
    for (int i = 0; i < frames; ++i) {
        float& left = stereo[2 * i];
        float& right = stereo[2 * i + 1];
        const float peak = std::max(std::fabs(left), std::fabs(right));
        if (!std::isfinite(peak)) { // a broken source is silenced, not kept
            left = right = 0.0f;
            continue;
        }
        const float followed = std::min(peak, kLargestFollowedPeak);
        envelope_ += (followed - envelope_) * (followed > envelope_ ? attack_ : release_);
        const float gain = gainFor(envelope_);
        if (gain == 1.0f && peak <= kLimiterThreshold) continue;
        left = SoftKnee(left * gain);
        right = SoftKnee(right * gain);
        ++limitedFrames_;
    }
}

float SoftLimiter::Gain() const {
    return gainFor(envelope_);
}
