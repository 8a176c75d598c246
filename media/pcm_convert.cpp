#include "media/pcm_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/wave_file.h"

namespace {

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

// The sizes of a conversion: frames in and out, bytes between source frames.
struct ConversionPlan {
    int channels = 0, bytes = 0;
    std::size_t stride = 0;
    std::uint64_t inFrames = 0, outFrames = 0;
};

std::optional<ConversionPlan> planConversion(const TIWave& wave) {
    const std::uint16_t tag = wave.SampleTag();
    const int channels = wave.Channels();
    const int bits = wave.BitsPerSample();
    const std::uint32_t rate = wave.SamplesPerSec();
    if (!supportedLayout(tag, bits) || (channels != 1 && channels != 2)) return std::nullopt;
    if (rate < kMinSoundRate || rate > kMaxSoundRate) return std::nullopt;
    ConversionPlan plan;
    plan.channels = channels;
    plan.bytes = bits / 8;
    const std::size_t frameBytes = static_cast<std::size_t>(plan.bytes * channels);
    // A block align too small for the samples is the writer's mistake; the
    // samples' own size is used then.
    plan.stride = std::max<std::size_t>(wave.BlockAlign(), frameBytes);
    plan.inFrames = wave.DataSize() / plan.stride;
    plan.outFrames = (plan.inFrames * kDeviceRate + rate - 1) / rate;
    return plan;
}

} // namespace

std::optional<std::uint64_t> ConvertedSoundBytes(const TIWave& wave) {
    const auto plan = planConversion(wave);
    if (!plan) return std::nullopt;
    return plan->outFrames * static_cast<std::uint64_t>(plan->channels) * 2;
}

std::optional<SoundSamples> ConvertToDeviceFormat(const TIWave& wave) {
    const auto plan = planConversion(wave);
    if (!plan || plan->outFrames * plan->channels * 2 > kMaxSoundBytes) return std::nullopt;
    const std::uint16_t tag = wave.SampleTag();
    const std::uint32_t rate = wave.SamplesPerSec();
    const int channels = plan->channels, bytes = plan->bytes;
    const std::size_t stride = plan->stride;
    const std::uint64_t inFrames = plan->inFrames, outFrames = plan->outFrames;

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
