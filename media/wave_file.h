// RIFF wave files read into memory: the format record and the sample bytes
// of the "data" chunk. The reader walks the file's chunks with 64-bit offsets
// bounded by the parent chunk and the file, and checks every size against the
// bytes the file holds before it allocates anything.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/loaded.h"

// The texts a wave file is refused with.
inline constexpr const char* kWaveOpenFailed = "mmioOpen Failed";
inline constexpr const char* kWaveDescendFailed = "mmioDescend Failed";
inline constexpr const char* kNotAWaveFile = "Not a wave file";
inline constexpr const char* kWaveReadError = "Error reading wave file";

// Format tags the sound buffers understand.
constexpr std::uint16_t kWaveFormatPcm = 1;
constexpr std::uint16_t kWaveFormatFloat = 3;
constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;

class TIWave {
  public:
    // Reads the file. A malformed header is refused with one of the texts
    // above; a file whose "data" chunk is missing, truncated or larger than
    // the file gives a wave without format and data instead.
    static Loaded<TIWave> Read(const std::string& fileName);
    // The same over bytes already in memory.
    static Loaded<TIWave> Parse(std::span<const std::uint8_t> bytes);

    std::string fileName;
    // The format record: tag, channels, samples per second, average bytes per
    // second, block align, bits per sample, extra size, then the extra bytes
    // (18 + extra size bytes); empty when there is none.
    std::vector<std::uint8_t> format;
    std::vector<std::uint8_t> data; // the "data" chunk's sample bytes

    std::size_t FormatSize() const { return format.size(); }
    std::size_t DataSize() const { return data.size(); }
    // Fields of the format record; 0 when there is no format.
    std::uint16_t FormatTag() const { return field16(0); }
    std::uint16_t Channels() const { return field16(2); }
    std::uint32_t SamplesPerSec() const { return field32(4); }
    std::uint16_t BlockAlign() const { return field16(12); }
    std::uint16_t BitsPerSample() const { return field16(14); }
    std::uint16_t ExtraSize() const { return field16(16); }
    // The extensible format's sub-format tag (the first two bytes of its
    // GUID), else the format tag itself.
    std::uint16_t SampleTag() const;

  private:
    std::uint16_t field16(std::size_t at) const;
    std::uint32_t field32(std::size_t at) const;
};
