#include "media/sound_position.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kFull = 10000;

// Rounds to the nearest integer, ties to even, as every rounding of the game.
double roundEven(double v) {
    return std::nearbyint(v);
}

} // namespace

VolumePan PositionalVolumePan(const SoundCamera& camera, std::int32_t x, std::int32_t y,
                              std::int32_t z, std::int32_t loudness) {
    const double dx = static_cast<double>(std::int64_t{x} - camera.x);
    const double dy = static_cast<double>(std::int64_t{y} - camera.y);
    const double dz = static_cast<double>(std::int64_t{z} - camera.z);
    const auto& m = camera.rows;
    const double right = roundEven(dx * m[0] + dy * m[1] + dz * m[2]);
    const double up = roundEven(dx * m[3] + dy * m[4] + dz * m[5]);
    const double forward = roundEven(dx * m[6] + dy * m[7] + dz * m[8]);
    const double distance = roundEven(std::sqrt(right * right + up * up + forward * forward));

    std::int64_t audible = 0; // 0..10000 of the full volume
    if (camera.hearingRange > 0) {
        const std::int64_t fade = static_cast<std::int64_t>(distance) * kFull / camera.hearingRange;
        audible = std::max<std::int64_t>(kFull - fade, 0);
    } else {
        audible = distance == 0 ? kFull : 0;
    }
    VolumePan result;
    if (loudness == 255) {
        result.volume = 0;
    } else {
        const std::int64_t volume = audible * (loudness / 2 + 384) / 512 - kFull;
        result.volume = static_cast<std::int32_t>(std::clamp<std::int64_t>(volume, -kFull, 0));
    }
    result.pan = static_cast<std::int32_t>(std::clamp(4.0 * right, -10000.0, 10000.0));
    return result;
}
