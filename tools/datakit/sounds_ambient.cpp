// The ambient loops: each is built as a circle, so it repeats without a seam.
// Events are mixed around the end back onto the start, filters run round
// twice so that their state at the end matches the start.
#include <algorithm>

#include "sounds.h"
#include "synth_voices.h"

using namespace synth;

namespace sounds {

namespace {
constexpr double R = kEffectRate;

Signal NoiseLoop(double seconds, std::uint32_t seed) {
    Lcg noise{seed};
    Signal out(Samples(seconds, R));
    for (double& v : out) v = noise.White();
    return out;
}

// A slow level change that repeats `cycles` times per loop of `seconds`.
double Swell(double t, double seconds, double cycles, double depth) {
    return 1 - depth + depth * (0.5 + 0.5 * Sin01(cycles * t / seconds));
}

Signal MonoOf(const Stereo& s) {
    Signal out(s.left.size());
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = 0.5 * (s.left[i] + s.right[i]);
    return out;
}
} // namespace

Signal Lava() {
    const double length = 4.0;
    Signal out = NoiseLoop(length, 111);
    Svf deep, crust;
    ProcessLoop(out, [&](double x) {
        deep.Process(x, R, 140, 0.7);
        crust.Process(x, R, 420, 0.7);
        return 3.0 * deep.low + 0.5 * crust.low;
    });
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] *= Swell(n / R, length, 2, 0.3) * Swell(n / R, length, 5, 0.15);
    // Thick bubbles rising and bursting.
    Lcg random{112};
    for (int i = 0; i < 16; ++i) {
        const double base = random.Range(90, 220), span = random.Range(0.05, 0.12);
        Phase blop;
        Signal bubble = Render(span, R, [&](double t) {
            const double x = t / span;
            const double shape = Sin01(x / 2);
            return Sin01(blop.Next(base * (1 + 1.2 * x), R)) * shape * shape;
        });
        Biquad pop = HighPass(R, 1500);
        Signal burst = Render(0.02, R, [&](double t) {
            return pop.Process(random.White()) * Decay(t, 0.004, 0.0005);
        });
        const std::size_t at = Samples(random.Range(0, length), R);
        const double level = random.Range(0.4, 1.0);
        MixWrapped(out, bubble, at, 0.8 * level);
        MixWrapped(out, burst, at + bubble.size() - Samples(0.004, R), 0.25 * level);
    }
    Biquad soften = LowPass(R, 3000);
    ProcessLoop(out, [&](double x) { return soften.Process(x); });
    FinishLoop(out, 0.65);
    return out;
}

Signal Water() {
    const double length = 4.0;
    Signal bed = NoiseLoop(length, 121);
    Svf trickle, flow;
    ProcessLoop(bed, [&](double x) {
        trickle.Process(x, R, 900, 0.8);
        flow.Process(x, R, 300, 0.7);
        return 0.05 * trickle.band + 0.08 * flow.low;
    });
    // Drops falling into a pool: a quick upward-bending ping each.
    Stereo drips;
    Resize(drips, bed.size());
    Lcg random{122};
    for (int i = 0; i < 7; ++i) {
        const double base = random.Range(700, 1400);
        const Signal drop = Drip(R, base, 1.3, 0.045);
        const double at = (i + random.Range(0.1, 0.8)) * length / 7;
        MixWrapped(drips, drop, Samples(at, R), random.Range(0.5, 1.0), random.Range(-0.6, 0.6));
    }
    const Stereo cave = ReverbLoop(drips, R, {0.85, 0.3, 1.0});
    Signal out = MonoOf(drips);
    const Signal wet = MonoOf(cave);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] += 0.9 * wet[i] + bed[i];
    FinishLoop(out, 0.6);
    return out;
}

Signal Torch() {
    const double length = 3.0;
    Signal out = NoiseLoop(length, 131);
    Svf roar;
    Biquad rumbleCut = HighPass(R, 80);
    ProcessLoop(out, [&](double x) {
        roar.Process(x, R, 500, 0.7);
        return rumbleCut.Process(roar.low);
    });
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / R;
        out[n] *=
            0.8 * Swell(t, length, 3, 0.3) * Swell(t, length, 7, 0.2) * Swell(t, length, 13, 0.1);
    }
    // Crackles come in little clusters, mostly faint, a few sharp.
    Lcg random{132};
    for (int cluster = 0; cluster < 14; ++cluster) {
        const double centre = random.Range(0, length);
        const int count = 1 + random.Below(8);
        for (int k = 0; k < count; ++k) {
            const double loud = random.Uniform();
            Biquad snap = HighPass(R, 1800);
            const double span = random.Range(0.0015, 0.004);
            Signal crack = Render(span * 5, R, [&](double t) {
                return snap.Process(random.White()) * Decay(t, span, 0.0002);
            });
            FadeOut(crack, R, span * 2);
            MixWrapped(out, crack, Samples(centre + random.Range(0, 0.04), R),
                       0.06 + 0.35 * loud * loud);
        }
    }
    FinishLoop(out, 0.6);
    return out;
}

Signal Hum() {
    // Every partial completes a whole number of cycles in the loop, so the
    // waveform itself repeats exactly.
    const double length = 2.0;
    static const double kHarmonics[6] = {1.0, 0.6, 0.45, 0.2, 0.15, 0.08};
    Signal rattle = NoiseLoop(length, 141);
    Biquad band = BandPass(R, 2500, 2), soften = LowPass(R, 4000);
    ProcessLoop(rattle, [&](double x) { return soften.Process(band.Process(x)); });
    Signal out(rattle.size());
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / R;
        double v = 0;
        for (int h = 0; h < 6; ++h) v += kHarmonics[h] * Sin01(60.0 * (h + 1) * t);
        v *= 0.85 + 0.15 * Sin01(2 * t);
        const double whine = 0.03 * Sin01(1200 * t) * (0.6 + 0.4 * Sin01(0.5 * t));
        const double tick = Sin01(4 * t);
        const double gate = tick * tick * tick * tick;
        out[n] = 0.4 * v + whine + 0.05 * gate * gate * rattle[n];
    }
    FinishLoop(out, 0.4); // a steady tone tires the ear sooner than noise
    return out;
}

} // namespace sounds
