#include "synth_wave.h"

#include <stdexcept>

#include "platform/byte_io.h"

namespace synth {

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int channels,
                                     int rate) {
    if (channels < 1 || channels > 2 || rate <= 0 || samples.size() % channels != 0)
        throw std::invalid_argument("wave: bad channel count, rate or sample count");
    const std::uint64_t dataBytes = samples.size() * 2;
    if (dataBytes > 0x7FFFFFF0u) throw std::invalid_argument("wave: too long");
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataBytes);
    ByteWriter out(bytes);
    out.Text("RIFF");
    out.U32(static_cast<std::uint32_t>(36 + dataBytes));
    out.Text("WAVE");
    out.Text("fmt ");
    out.U32(16);
    out.U16(1); // PCM
    out.U16(static_cast<std::uint16_t>(channels));
    out.U32(static_cast<std::uint32_t>(rate));
    out.U32(static_cast<std::uint32_t>(rate) * blockAlign);
    out.U16(static_cast<std::uint16_t>(blockAlign));
    out.U16(16);
    out.Text("data");
    out.U32(static_cast<std::uint32_t>(dataBytes));
    for (std::int16_t s : samples) out.U16(static_cast<std::uint16_t>(s));
    return bytes;
}

std::vector<std::uint8_t> EncodeWave(const Signal& mono, int rate) {
    return EncodeWave(ToPcm16(mono), 1, rate);
}

std::vector<std::uint8_t> EncodeWave(const Stereo& stereo, int rate) {
    return EncodeWave(ToPcm16(stereo), 2, rate);
}

} // namespace synth
