#include "media/wave_writer.h"

#include "media/pcm_convert.h"
#include "media/wave_file.h"
#include "platform/byte_io.h"

std::vector<std::uint8_t> EncodeStereoWave(std::span<const std::int16_t> samples) {
    constexpr std::uint16_t kChannels = 2, kBits = 16;
    constexpr std::uint16_t kBlockAlign = kChannels * kBits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    ByteWriter w(out);
    w.Text("RIFF");
    w.U32(36 + dataBytes);
    w.Text("WAVE");
    w.Text("fmt ");
    w.U32(16);
    w.U16(kWaveFormatPcm);
    w.U16(kChannels);
    w.U32(kDeviceRate);
    w.U32(kDeviceRate * kBlockAlign);
    w.U16(kBlockAlign);
    w.U16(kBits);
    w.Text("data");
    w.U32(dataBytes);
    for (std::int16_t s : samples) w.U16(static_cast<std::uint16_t>(s));
    return out;
}
