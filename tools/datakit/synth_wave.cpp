#include "synth_wave.h"

#include <stdexcept>
#include <string_view>

namespace synth {

namespace {
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}
} // namespace

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int channels,
                                     int rate) {
    if (channels < 1 || channels > 2 || rate <= 0 || samples.size() % channels != 0)
        throw std::invalid_argument("wave: bad channel count, rate or sample count");
    const std::uint64_t dataBytes = samples.size() * 2;
    if (dataBytes > 0x7FFFFFF0u) throw std::invalid_argument("wave: too long");
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, static_cast<std::uint32_t>(36 + dataBytes));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, static_cast<std::uint32_t>(channels));
    Put32(out, static_cast<std::uint32_t>(rate));
    Put32(out, static_cast<std::uint32_t>(rate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, static_cast<std::uint32_t>(dataBytes));
    for (std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
    return out;
}

std::vector<std::uint8_t> EncodeWave(const Signal& mono, int rate) {
    return EncodeWave(ToPcm16(mono), 1, rate);
}

std::vector<std::uint8_t> EncodeWave(const Stereo& stereo, int rate) {
    return EncodeWave(ToPcm16(stereo), 2, rate);
}

} // namespace synth
