// Writing sound as a wave file: 16-bit PCM stereo at the device rate.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The whole file: a RIFF "WAVE" with a 16-byte "fmt " chunk and the samples
// (left, right interleaved) in its "data" chunk.
std::vector<std::uint8_t> EncodeStereoWave(std::span<const std::int16_t> samples);
