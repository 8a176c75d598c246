// RIFF wave files of 16-bit PCM, as the game's wave reader takes them: a
// "RIFF"/"WAVE" header, a 16-byte "fmt " chunk and one "data" chunk.
#pragma once

#include <cstdint>
#include <vector>

#include "synth.h"

namespace synth {

// The file bytes for interleaved 16-bit samples (`channels` per frame).
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int channels,
                                     int rate);
std::vector<std::uint8_t> EncodeWave(const Signal& mono, int rate);
std::vector<std::uint8_t> EncodeWave(const Stereo& stereo, int rate);

} // namespace synth
