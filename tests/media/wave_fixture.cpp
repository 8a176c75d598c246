#include "wave_fixture.h"

#include "platform/byte_io.h"

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes ChunkWithSize(const std::string& id, std::uint32_t size, const Bytes& payload) {
    Bytes out;
    ByteWriter w(out);
    w.Text(id);
    w.U32(size);
    w.Bytes(payload);
    return out;
}

Bytes Chunk(const std::string& id, const Bytes& payload, bool pad) {
    Bytes out = ChunkWithSize(id, static_cast<std::uint32_t>(payload.size()), payload);
    if (pad && payload.size() % 2 != 0) out.push_back(0);
    return out;
}

Bytes RiffWaveWithSize(std::uint32_t size, const Bytes& chunks) {
    Bytes wave{'W', 'A', 'V', 'E'};
    return ChunkWithSize("RIFF", size, wave + chunks);
}

Bytes RiffWave(const Bytes& chunks) {
    return RiffWaveWithSize(static_cast<std::uint32_t>(chunks.size() + 4), chunks);
}

Bytes FormatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                   std::uint16_t bits) {
    Bytes out;
    ByteWriter w(out);
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    w.U16(tag);
    w.U16(channels);
    w.U32(rate);
    w.U32(rate * align);
    w.U16(align);
    w.U16(bits);
    return out;
}

Bytes PcmWave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const Bytes& data) {
    return RiffWave(Chunk("fmt ", FormatFields(1, channels, rate, bits)) + Chunk("data", data));
}

Bytes Samples16(const std::vector<std::int16_t>& samples) {
    Bytes out;
    ByteWriter w(out);
    for (std::int16_t s : samples) w.U16(static_cast<std::uint16_t>(s));
    return out;
}
