#include "media/pcm_convert.h"

#include <cmath>
#include <cstring>

#include "media/wave_file.h"

namespace {

constexpr std::uint32_t kMinRate = 100;
constexpr std::uint32_t kMaxRate = 200000;

// One sample of the source as a value in -1..1 (integers) or as stored (float).
double sampleAt(const std::uint8_t* p, std::uint16_t tag, int bytes) {
    if (tag == kWaveFormatFloat) {
        if (bytes == 4) {
            float f;
            std::uint32_t bits = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
            std::memcpy(&f, &bits, 4);
            return f;
        }
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    if (bytes == 1) return (p[0] - 128) / 128.0;
    // Signed little-endian integers: the top byte carries the sign.
    std::int64_t value = static_cast<std::int8_t>(p[bytes - 1]);
    for (int i = bytes - 2; i >= 0; --i) value = value * 256 + p[i];
    return static_cast<double>(value) / static_cast<double>(std::int64_t{1} << (8 * bytes - 1));
}

std::int16_t toInt16(double v) {
    if (!(v == v)) return 0; // NaN
    const double scaled = std::nearbyint(v * 32768.0);
    if (scaled > 32767.0) return 32767;
    if (scaled < -32768.0) return -32768;
    return static_cast<std::int16_t>(scaled);
}

bool supportedLayout(std::uint16_t tag, int bits) {
    if (tag == kWaveFormatPcm) return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (tag == kWaveFormatFloat) return bits == 32 || bits == 64;
    return false;
}

} // namespace

std::optional<SoundSamples> ConvertToDeviceFormat(const TIWave& wave) {
    const std::uint16_t tag = wave.SampleTag();
    const int channels = wave.Channels();
    const int bits = wave.BitsPerSample();
    const std::uint32_t rate = wave.SamplesPerSec();
    if (!supportedLayout(tag, bits) || (channels != 1 && channels != 2)) return std::nullopt;
    if (rate < kMinRate || rate > kMaxRate) return std::nullopt;
    const int bytes = bits / 8;
    const std::size_t frameBytes = static_cast<std::size_t>(bytes * channels);
    // A block align too small for the samples is the writer's mistake; the
    // samples' own size is used then.
    const std::size_t stride = std::max<std::size_t>(wave.BlockAlign(), frameBytes);
    const std::uint64_t inFrames = wave.DataSize() / stride;
    const std::uint64_t outFrames = (inFrames * kDeviceRate + rate - 1) / rate;
    if (outFrames * channels * 2 > kMaxSoundBytes) return std::nullopt;

    SoundSamples out;
    out.channels = channels;
    out.samples.resize(outFrames * channels);
    auto source = [&](std::uint64_t frame, int channel) {
        return sampleAt(wave.data.data() + frame * stride + channel * bytes, tag, bytes);
    };
    for (std::uint64_t n = 0; n < outFrames; ++n) {
        // Linear interpolation between the two source frames around n; the
        // position is exact in integers, so the result is the same everywhere.
        const std::uint64_t scaled = n * rate;
        const std::uint64_t at = scaled / kDeviceRate;
        const double fraction = static_cast<double>(scaled % kDeviceRate) / kDeviceRate;
        const std::uint64_t next = std::min(at + 1, inFrames - 1);
        for (int c = 0; c < channels; ++c) {
            const double a = source(at, c);
            const double v = fraction == 0.0 ? a : a + (source(next, c) - a) * fraction;
            out.samples[n * channels + c] = toInt16(v);
        }
    }
    return out;
}
