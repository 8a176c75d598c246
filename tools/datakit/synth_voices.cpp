#include "synth_voices.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
// Highest filter frequency that stays clear of the rate's limit.
double Clear(double rate, double hz) {
    return std::min(hz, 0.42 * rate);
}

// Metallic ring: square waves at inharmonic ratios, as cymbals and hats use.
double Metal(double phases[6], const double steps[6]) {
    double sum = 0;
    for (int k = 0; k < 6; ++k) {
        sum += phases[k] < 0.5 ? 1.0 : -1.0;
        phases[k] = Advance(phases[k], steps[k]);
    }
    return sum / 6;
}

void MetalSteps(double rate, double base, double steps[6]) {
    static const double kRatios[6] = {1.0, 1.483, 1.7923, 2.5432, 2.6281, 3.891};
    for (int k = 0; k < 6; ++k) steps[k] = std::min(0.45, base * kRatios[k] / rate);
}
} // namespace

// --- drums -------------------------------------------------------------------

Signal Kick(double rate, double tune) {
    Signal out(Samples(0.42, rate));
    Lcg noise{91};
    Biquad clickTone = LowPass(rate, Clear(rate, 3500));
    double phase = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double hz = tune * (46 + 120 * Exp(-t / 0.032));
        phase = Advance(phase, hz / rate);
        const double body = Sin01(phase) * Decay(t, 0.2, 0.0015);
        const double click = clickTone.Process(noise.White()) * Decay(t, 0.004, 0.0005) * 0.35;
        out[n] = SoftClip(1.5 * body + click);
    }
    FadeOut(out, rate, 0.05);
    return out;
}

Signal Snare(double rate, std::uint32_t seed, double tune) {
    Signal out(Samples(0.3, rate));
    Lcg noise{seed};
    Biquad low = HighPass(rate, 900), high = LowPass(rate, Clear(rate, 9000));
    double p1 = 0, p2 = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double drop = 1 + 0.25 * Exp(-t / 0.01);
        p1 = Advance(p1, tune * 185 * drop / rate);
        p2 = Advance(p2, tune * 332 * drop / rate);
        const double tone = (0.65 * Sin01(p1) + 0.35 * Sin01(p2)) * Decay(t, 0.05, 0.001);
        const double hiss = high.Process(low.Process(noise.White())) * Decay(t, 0.085, 0.001);
        out[n] = SoftClip(0.8 * tone + 1.1 * hiss);
    }
    FadeOut(out, rate, 0.04);
    return out;
}

Signal HiHat(double rate, std::uint32_t seed, bool open) {
    Signal out(Samples(open ? 0.5 : 0.09, rate));
    Lcg noise{seed};
    double phases[6] = {0, 0.13, 0.29, 0.41, 0.57, 0.73}, steps[6];
    MetalSteps(rate, 410, steps);
    Biquad band = BandPass(rate, Clear(rate, 8200), 1.2);
    Biquad low = HighPass(rate, Clear(rate, 5600));
    const double decay = open ? 0.16 : 0.022;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double raw = 0.7 * Metal(phases, steps) + 0.5 * noise.White();
        out[n] = low.Process(band.Process(raw)) * Decay(t, decay, 0.0008) * 2.2;
    }
    FadeOut(out, rate, open ? 0.1 : 0.02);
    return out;
}

Signal Cymbal(double rate, std::uint32_t seed, double seconds) {
    Signal out(Samples(seconds * 3, rate));
    Lcg noise{seed};
    double phases[6] = {0, 0.21, 0.37, 0.44, 0.61, 0.88}, steps[6];
    MetalSteps(rate, 350, steps);
    Biquad low = HighPass(rate, Clear(rate, 3200));
    Biquad band = PeakEq(rate, Clear(rate, 6500), 0.8, 5);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double raw = 0.5 * Metal(phases, steps) + 0.6 * noise.White();
        out[n] = band.Process(low.Process(raw)) * Decay(t, seconds, 0.002) * 0.9;
    }
    FadeOut(out, rate, seconds * 0.6);
    return out;
}

Signal Tom(double rate, double hz) {
    Signal out(Samples(0.45, rate));
    Lcg noise{7};
    Biquad tick = BandPass(rate, Clear(rate, 2500), 1.0);
    double phase = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        phase = Advance(phase, hz * (1 + 0.45 * Exp(-t / 0.05)) / rate);
        const double body = Sin01(phase) * Decay(t, 0.16, 0.002);
        out[n] = SoftClip(1.2 * body + 0.3 * tick.Process(noise.White()) * Decay(t, 0.006, 0.0005));
    }
    FadeOut(out, rate, 0.08);
    return out;
}

Signal Clap(double rate, std::uint32_t seed) {
    Signal out(Samples(0.3, rate));
    Lcg noise{seed};
    Biquad band = BandPass(rate, Clear(rate, 1300), 1.4);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        double env = Decay(t - 0.022, 0.09, 0.001);
        for (double burst : {0.0, 0.008, 0.016})
            env = std::max(env, Decay(t - burst, 0.006, 0.0005));
        out[n] = band.Process(noise.White()) * env * 2.5;
    }
    FadeOut(out, rate, 0.05);
    return out;
}

Signal Shaker(double rate, std::uint32_t seed) {
    Signal out(Samples(0.12, rate));
    Lcg noise{seed};
    Biquad high = HighPass(rate, Clear(rate, 4500));
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double env = t < 0.012 ? t / 0.012 : Exp(-(t - 0.012) / 0.03);
        out[n] = high.Process(noise.White()) * env * 0.9;
    }
    FadeOut(out, rate, 0.03);
    return out;
}

Signal Rim(double rate) {
    Signal out(Samples(0.08, rate));
    double p1 = 0, p2 = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        p1 = Advance(p1, Clear(rate, 1750) / rate);
        p2 = Advance(p2, 520 / rate);
        out[n] = (0.6 * Sin01(p1) + 0.5 * Sin01(p2)) * Decay(t, 0.012, 0.0005);
    }
    FadeOut(out, rate, 0.02);
    return out;
}

Signal Drip(double rate, double hz, double bend, double decay) {
    Phase ping;
    Signal drop = Render(0.15, rate, [&](double t) {
        const double f = hz * Exp2(bend * std::min(t, 0.02) / 0.02);
        return Sin01(ping.Next(f, rate)) * Decay(t, decay, 0.001);
    });
    FadeOut(drop, rate, 0.03);
    return drop;
}

// --- pitched notes -----------------------------------------------------------

Signal Pluck(double rate, double hz, double held, double brightness, double ring,
             std::uint32_t seed) {
    const double release = 0.08;
    const double length = std::min(held, ring * 4) + release;
    Signal out(Samples(length, rate));
    // The loop is the delay line, half a sample of averaging and an all-pass
    // for the fractional rest of the period.
    const double period = rate / hz;
    const auto whole = static_cast<std::size_t>(std::max(2.0, std::floor(period - 0.5)));
    const double fraction = std::clamp(period - 0.5 - static_cast<double>(whole), 0.05, 0.95);
    const double c = (1 - fraction) / (1 + fraction);
    const double loss = Exp(-6.9078 / (ring * hz)); // -60 dB after `ring` seconds
    std::vector<double> line(whole);
    Lcg noise{seed};
    OnePole tone = OnePoleLowPass(rate, 300 + brightness * 0.4 * rate);
    for (double& v : line) v = tone.Process(noise.White());
    double last = 0, apIn = 0, apOut = 0;
    std::size_t index = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double current = line[index];
        const double average = 0.5 * (current + last);
        last = current;
        const double shifted = c * average + apIn - c * apOut;
        apIn = average;
        apOut = shifted;
        line[index] = shifted * loss;
        index = index + 1 == whole ? 0 : index + 1;
        const double t = n / rate;
        const double damp = t < held ? 1.0 : std::max(0.0, 1 - (t - held) / release);
        out[n] = current * damp * damp;
    }
    FadeIn(out, rate, 0.001);
    return out;
}

Signal FmNote(double rate, double hz, double held, const FmSettings& s) {
    Signal out(Samples(held + s.release, rate));
    double carrier = 0, carrier2 = 0, modulator = 0;
    const double step = hz / rate;
    const double step2 = step * Exp2(s.detuneCents / 1200);
    const double modStep = std::min(0.49, hz * s.ratio / rate);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double blend = Exp(-t / s.indexTime);
        const double index = s.indexEnd + (s.index - s.indexEnd) * blend;
        double amp = Decay(std::min(t, held), s.ampDecay, s.attack);
        if (t > held) {
            const double x = (t - held) / s.release;
            amp *= x >= 1 ? 0.0 : (1 - x) * (1 - x);
        }
        const double mod = index * Sin01(modulator) / (2 * kPi);
        double v = Sin01(carrier + mod);
        if (s.detuneCents != 0) v = 0.5 * (v + Sin01(carrier2 + mod));
        out[n] = v * amp;
        carrier = Advance(carrier, step);
        carrier2 = Advance(carrier2, step2);
        modulator = Advance(modulator, modStep);
    }
    return out;
}

Signal LeadNote(double rate, double hz, double held, const LeadSettings& s) {
    Signal out(Samples(held + s.envelope.release, rate));
    Svf filter;
    double a = 0, b = 0.31, c = 0.62;
    const double detune = Exp2(7.0 / 1200);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        double f = hz;
        if (s.glideFrom > 0) f = hz + (s.glideFrom - hz) * Exp(-t / 0.04);
        if (t > s.vibratoDelay) {
            const double depth = s.vibratoDepth * std::min(1.0, (t - s.vibratoDelay) / 0.3);
            f *= Exp2(depth / 12 * Sin01(5.4 * t));
        }
        const double sa = f * detune / rate, sb = f / detune / rate, sc = f / rate;
        const double raw = 0.5 * (SawBlep(a, sa) + SawBlep(b, sb)) * (1 - s.pulseMix) +
                           s.pulseMix * PulseBlep(c, sc, 0.5);
        a = Advance(a, sa);
        b = Advance(b, sb);
        c = Advance(c, sc);
        const double cutoff = s.cutoffFloor + (s.cutoff - s.cutoffFloor) * Exp(-t / 0.18);
        filter.Process(raw, rate, Clear(rate, cutoff), s.resonance);
        out[n] = filter.low * AdsrAt(s.envelope, t, held);
    }
    return out;
}

Signal BassNote(double rate, double hz, double held, double velocity) {
    const Adsr envelope{0.004, 0.25, 0.65, 0.05};
    Signal out(Samples(held + envelope.release, rate));
    Svf filter;
    double saw = 0, sub = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double step = hz / rate;
        const double raw = 0.55 * SawBlep(saw, step) + 0.6 * Sin01(sub);
        saw = Advance(saw, step);
        sub = Advance(sub, step / 2);
        const double cutoff = 180 + (500 + 1300 * velocity) * Exp(-t / 0.09);
        filter.Process(raw, rate, Clear(rate, cutoff), 1.1);
        out[n] = SoftClip(1.3 * filter.low) * AdsrAt(envelope, t, held);
    }
    return out;
}

Signal PadNote(double rate, double hz, double held, double brightness, std::uint32_t seed) {
    const Adsr envelope{0.7, 1.0, 0.8, 1.4};
    Signal out(Samples(held + envelope.release, rate));
    static const double kCents[5] = {-11, -4, 0, 5, 12};
    double phases[5], steps[5];
    Lcg random{seed};
    for (int k = 0; k < 5; ++k) {
        phases[k] = random.Uniform();
        steps[k] = hz * Exp2(kCents[k] / 1200) / rate;
    }
    Svf filter;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        double raw = 0;
        for (int k = 0; k < 5; ++k) {
            raw += SawBlep(phases[k], steps[k]);
            phases[k] = Advance(phases[k], steps[k]);
        }
        const double cutoff = hz * 2 + brightness * 1800 * (1 + 0.25 * Sin01(0.13 * t));
        filter.Process(raw / 5, rate, Clear(rate, cutoff), 0.8);
        out[n] = filter.low * AdsrAt(envelope, t, held);
    }
    return out;
}

Signal FluteNote(double rate, double hz, double held, std::uint32_t seed) {
    const Adsr envelope{0.07, 0.2, 0.85, 0.16};
    Signal out(Samples(held + envelope.release, rate));
    Lcg noise{seed};
    Biquad breath = BandPass(rate, Clear(rate, hz * 2.5), 2.0);
    double phase = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = n / rate;
        const double depth = t < 0.25 ? 0.0 : std::min(1.0, (t - 0.25) / 0.4) * 0.12;
        const double f = hz * Exp2(depth / 12 * Sin01(5.1 * t));
        phase = Advance(phase, f / rate);
        const double tone = Sin01(phase) + 0.18 * Sin01(2 * phase) + 0.06 * Sin01(3 * phase);
        const double env = AdsrAt(envelope, t, held);
        const double chiff = t < 0.06 ? 1.0 - t / 0.06 : 0.0;
        out[n] = env * (0.8 * tone + (0.12 + 0.4 * chiff) * breath.Process(noise.White()));
    }
    return out;
}

} // namespace synth
