// The interface sounds and the sounds of the hero and the sentries.
#include <algorithm>

#include "sounds.h"
#include "synth_voices.h"

using namespace synth;

namespace sounds {

namespace {
constexpr double R = kEffectRate;

// One bright sine blip with a touch of octave and twelfth.
Signal Blip(double hz, double seconds) {
    Phase a;
    Signal out = Render(seconds, R, [&](double t) {
        const double p = a.Next(hz, R);
        const double env = Decay(t, seconds * 0.3, 0.002);
        return env * (Sin01(p) + 0.25 * Sin01(2 * p) + 0.08 * Sin01(3 * p));
    });
    FadeOut(out, R, seconds * 0.5);
    return out;
}

// A resonant "tick": a short noise impulse ringing two narrow bands.
Signal Tick(double pitch, std::uint32_t seed) {
    Lcg noise{seed};
    Biquad high = BandPass(R, 3400 * pitch, 40), low = BandPass(R, 2100 * pitch, 30);
    Biquad thump = BandPass(R, 900 * pitch, 4);
    Signal out = Render(0.06, R, [&](double t) {
        const double hit = noise.White() * Decay(t, 0.0008, 0.0002);
        return 8 * high.Process(hit) + 10 * low.Process(hit) + 1.5 * thump.Process(hit);
    });
    FadeOut(out, R, 0.03);
    return out;
}

// A pitched sweep from `hz` over `octaves` in `seconds`, square-ish and filtered.
Signal Chirp(double hz, double octaves, double seconds) {
    Phase phase;
    Svf filter;
    const Adsr envelope{0.004, 0.03, 0.8, 0.025};
    return Render(seconds, R, [&](double t) {
        const double f = hz * Exp2(octaves * t / seconds);
        const double raw = PulseBlep(phase.Next(f, R), f / R, 0.3);
        filter.Process(raw, R, 3200, 1.8);
        return filter.low * AdsrAt(envelope, t, seconds - envelope.release);
    });
}
} // namespace

Signal MenuChoice() {
    Signal out = Blip(988, 0.09);
    MixInto(out, Blip(1319, 0.16), Samples(0.045, R), 0.9);
    Echo(out, R, 0.075, 0.3, 0.35, 5000);
    FinishOneShot(out, 0.7);
    return out;
}

Signal Click() {
    Lcg noise{3};
    Biquad band = BandPass(R, 3200, 1.5);
    Phase body, top;
    Signal out = Render(0.05, R, [&](double t) {
        return Sin01(body.Next(420, R)) * Decay(t, 0.007, 0.0006) +
               0.5 * Sin01(top.Next(1850, R)) * Decay(t, 0.003, 0.0004) +
               0.6 * band.Process(noise.White()) * Decay(t, 0.002, 0.0003);
    });
    FinishOneShot(out, 0.55);
    return out;
}

Signal ClockTick() {
    Signal out = Tick(1.0, 5);
    FinishOneShot(out, 0.65);
    return out;
}

Signal Step() {
    Lcg noise{11};
    Biquad soft = LowPass(R, 600), grit = HighPass(R, 2500);
    Phase thump;
    Signal out = Render(0.2, R, [&](double t) {
        const double hz = 52 + 45 * Exp(-t / 0.02);
        const double body = Sin01(thump.Next(hz, R)) * Decay(t, 0.04, 0.003);
        const double n = noise.White();
        const double scuff = soft.Process(n) * Decay(t - 0.006, 0.03, 0.004);
        const double gravel = grit.Process(n) * Decay(t - 0.012, 0.015, 0.001);
        return 0.8 * body + 1.6 * scuff + 0.2 * gravel;
    });
    FinishOneShot(out, 0.45);
    return out;
}

Signal Hurt() {
    // A short grunt: a buzzing voice with a bent pitch through vowel formants,
    // over the thump of the blow.
    Lcg noise{21};
    Biquad f1 = BandPass(R, 680, 5), f2 = BandPass(R, 1150, 7), f3 = BandPass(R, 2550, 9);
    Biquad blow = LowPass(R, 1200);
    Phase voice, thump;
    const Adsr envelope{0.015, 0.12, 0.6, 0.12};
    Signal out = Render(0.42, R, [&](double t) {
        const double bend =
            t < 0.03 ? 200 + 60 * t / 0.03 : 260 - 110 * std::min(1.0, (t - 0.03) / 0.36);
        const double f = bend * (1 + 0.015 * noise.White());
        const double source = SawBlep(voice.Next(f, R), f / R);
        const double vowel =
            f1.Process(source) + 0.6 * f2.Process(source) + 0.25 * f3.Process(source);
        const double hit = blow.Process(noise.White()) * Decay(t, 0.02, 0.001) +
                           Sin01(thump.Next(90, R)) * Decay(t, 0.04, 0.002);
        return 1.6 * vowel * AdsrAt(envelope, t, 0.28) + 0.6 * hit;
    });
    FinishOneShot(out, 0.85);
    return out;
}

Signal Death() {
    // A low blow, then a falling minor arpeggio whose last note sags and fades.
    Signal out = Kick(R, 0.7);
    Scale(out, 0.7);
    LeadSettings lead;
    lead.cutoff = 2200;
    lead.cutoffFloor = 900;
    lead.pulseMix = 0.6;
    lead.vibratoDelay = 0.1;
    lead.vibratoDepth = 0.3;
    lead.envelope = {0.01, 0.2, 0.7, 0.08};
    const double notes[3] = {76, 72, 69}; // E5 C5 A4
    for (int i = 0; i < 3; ++i)
        MixInto(out, LeadNote(R, NoteHz(notes[i]), 0.12, lead), Samples(0.04 + 0.14 * i, R), 0.5);
    LeadSettings last = lead;
    last.envelope = {0.01, 0.4, 0.8, 0.5};
    Signal tail = LeadNote(R, NoteHz(64), 0.55, last); // E4, held
    // Let the held note droop a semitone by resampling its second half slower.
    Signal drooped(tail.size());
    double position = 0;
    for (std::size_t n = 0; n < tail.size(); ++n) {
        const double t = n / R;
        const auto i = static_cast<std::size_t>(position);
        const double x = position - static_cast<double>(i);
        drooped[n] = i + 1 < tail.size() ? tail[i] * (1 - x) + tail[i + 1] * x : 0.0;
        position += t < 0.4 ? 1.0 : Exp2(-std::min(1.0, (t - 0.4) / 0.5) / 12);
    }
    MixInto(out, drooped, Samples(0.46, R), 0.55);
    Echo(out, R, 0.16, 0.3, 0.3, 3000);
    AddReverb(out, R, {0.6, 0.5, 1.0}, 0.25, 1.0);
    FinishOneShot(out, 0.8);
    return out;
}

Signal Seen() {
    Signal out = Chirp(750, 1.0, 0.09);
    MixInto(out, Chirp(950, 1.0, 0.11), Samples(0.12, R));
    Echo(out, R, 0.06, 0.2, 0.25, 4000);
    FinishOneShot(out, 0.8);
    return out;
}

Signal Lost() {
    // A whirring rotor winding down: a gliding pulse with a slowing flutter.
    Phase tone, flutter;
    Svf filter;
    Signal out = Render(1.0, R, [&](double t) {
        const double x = t / 1.0;
        const double f = 900 * Exp2(-2.8 * x);
        const double raw = PulseBlep(tone.Next(f, R), f / R, 0.35 + 0.1 * x);
        filter.Process(raw, R, 4000 * Exp2(-2 * x), 1.4);
        const double wobble = 0.55 + 0.45 * Sin01(flutter.Next(16 - 9 * x, R));
        const double env = std::min(1.0, t / 0.02) * (1 - x) * (1 - x);
        return filter.low * wobble * env;
    });
    FinishOneShot(out, 0.7);
    return out;
}

} // namespace sounds
