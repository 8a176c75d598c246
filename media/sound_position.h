// Volume and pan of a positional sound heard from the camera.
#pragma once

#include <array>
#include <cstdint>

// What the sound output reads of the camera: its world position, its
// rotation as three rows and the hearing range (the distance at which
// effects fade to silence).
struct SoundCamera {
    std::int32_t x = 0, y = 0, z = 0;
    std::array<float, 9> rows{1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::int32_t hearingRange = 0;
};

struct VolumePan {
    std::int32_t volume = 0; // hundredths of a decibel, -10000..0
    std::int32_t pan = 0;    // -10000 (left) .. 10000 (right)
};

// Loudness 255 plays at full volume wherever the source is; 0..254 fades
// with the distance, to silence at the hearing range. The pan is four times
// the source's offset to the camera's right. Computed in 64 bits and floating
// point, so far sources on large grids stay quiet; a hearing range of 0 or
// less hears only a source at the camera itself; the volume is clamped to
// -10000..0 whatever the loudness.
VolumePan PositionalVolumePan(const SoundCamera& camera, std::int32_t x, std::int32_t y,
                              std::int32_t z, std::int32_t loudness);
