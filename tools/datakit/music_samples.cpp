#include "music_samples.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace synth;

namespace music {

Signal RenderLoopedTone(const LoopedTone& tone, double rate) {
    const std::size_t length = tone.attack + tone.loop;
    const double fade = std::max(1.0, tone.fadeIn * rate);
    Signal out(length);
    for (std::size_t n = 0; n < length; ++n) {
        // Everything that changes over the attack arrives at its loop value exactly.
        const double opening = n < tone.attack ? 1 - static_cast<double>(n) / tone.attack : 0.0;
        const double shape = opening * opening * opening;
        double env = 1 + (tone.swell - 1) * opening * opening;
        if (n < fade) env *= 0.5 - 0.5 * Cos01(n / fade / 2);
        const double position = static_cast<double>(n % tone.loop) / tone.loop;
        double v = 0;
        for (const Partial& p : tone.partials)
            v += p.level * (1 + p.boost * shape) * Sin01(p.cycles * position + p.phase);
        out[n] = env * v;
    }
    return out;
}

std::size_t LoopFor(double hz, int cycles, double rate) {
    // Module loops are counted in words, so the length is even.
    return 2 * static_cast<std::size_t>(std::floor(cycles * rate / hz / 2 + 0.5));
}

ModSample MakeModSample(const char* name, const Signal& signal, std::size_t loopStart,
                        std::size_t loopLength, std::uint32_t seed) {
    Signal scaled = signal;
    Normalise(scaled, 0.96);
    ModSample sample;
    sample.name = name;
    Lcg dither{seed};
    double error = 0;
    // A non-looping sample starts with two silent bytes: players repeat that
    // word once the sound has ended.
    if (loopLength == 0) sample.data = {0, 0};
    for (double x : scaled) {
        const double wanted = x * 127 - 0.5 * error;
        const double v = std::floor(wanted + 0.25 * (dither.Uniform() - dither.Uniform()) + 0.5);
        const double clamped = std::clamp(v, -128.0, 127.0);
        error = clamped - wanted;
        sample.data.push_back(static_cast<std::int8_t>(clamped));
    }
    if (loopLength > 0) {
        if (loopStart % 2 != 0 || loopLength % 2 != 0 || loopStart + loopLength > scaled.size())
            throw std::invalid_argument("module sample loop must be whole words inside the sample");
        sample.loopStart = loopStart;
        sample.loopLength = loopLength;
        sample.data.resize(loopStart + loopLength);
    }
    return sample;
}

} // namespace music
