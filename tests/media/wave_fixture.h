// Wave files built byte by byte for the tests: chunks of any size and
// content, so that damaged files are as easy to make as good ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A chunk: its id, its size field (the payload's length unless given) and
// its payload; an odd payload gets a pad byte unless `pad` is false.
Bytes Chunk(const std::string& id, const Bytes& payload, bool pad = true);
Bytes ChunkWithSize(const std::string& id, std::uint32_t size, const Bytes& payload);

// "RIFF", the size of what follows (unless given), "WAVE", then the chunks.
Bytes RiffWave(const Bytes& chunks);
Bytes RiffWaveWithSize(std::uint32_t size, const Bytes& chunks);

// The 16 bytes of a format record (without the extra size).
Bytes FormatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                   std::uint16_t bits);

// A whole PCM file: 16-byte format chunk and the data.
Bytes PcmWave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const Bytes& data);

// Little-endian 16-bit samples as bytes.
Bytes Samples16(const std::vector<std::int16_t>& samples);

Bytes operator+(Bytes a, const Bytes& b);
