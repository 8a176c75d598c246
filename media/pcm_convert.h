// Sample data in the device's format: 16-bit samples at 44100 Hz, one or two
// channels interleaved. Every sound is converted to it once, when loaded, so
// that mixing never converts.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class TIWave;

constexpr int kDeviceRate = 44100;
// The largest sound buffer the device takes, in bytes.
constexpr std::uint64_t kMaxSoundBytes = 0x0FFFFFFF;
// The sample rates a sound may have. Below the lowest, a short file would
// grow more than elevenfold when converted, for a sound nobody could hear
// as meant.
constexpr std::uint32_t kMinSoundRate = 4000;
constexpr std::uint32_t kMaxSoundRate = 200000;

struct SoundSamples {
    int channels = 1; // 1 or 2
    std::vector<std::int16_t> samples;

    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// The wave's samples at the device rate. 8-bit (unsigned), 16-, 24- and
// 32-bit integer PCM and 32- or 64-bit float, mono or stereo, plain or in the
// extensible record, convert; anything else (another encoding, more channels,
// a rate outside kMinSoundRate..kMaxSoundRate, a result larger than the device
// takes) gives nothing: a silent sound.
std::optional<SoundSamples> ConvertToDeviceFormat(const TIWave& wave);

// The bytes ConvertToDeviceFormat would give for the wave, without
// converting, even beyond kMaxSoundBytes; nothing for a format that does
// not convert.
std::optional<std::uint64_t> ConvertedSoundBytes(const TIWave& wave);
