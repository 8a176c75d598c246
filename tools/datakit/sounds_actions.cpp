// The sounds of the object types' actions.
#include <algorithm>

#include "sounds.h"
#include "synth_voices.h"

using namespace synth;

namespace sounds {

namespace {
constexpr double R = kEffectRate;

// A dull low thud: a falling sine over muffled noise.
Signal Thud(double hz, double seconds, std::uint32_t seed) {
    Lcg noise{seed};
    Biquad muffle = LowPass(R, 700);
    Phase body;
    Signal out = Render(seconds * 5, R, [&](double t) {
        const double f = hz * (1 + 0.7 * Exp(-t / 0.015));
        return Sin01(body.Next(f, R)) * Decay(t, seconds, 0.002) +
               0.8 * muffle.Process(noise.White()) * Decay(t, seconds * 0.7, 0.002);
    });
    FadeOut(out, R, seconds * 2);
    return out;
}

// Scattered gravel between `from` and `to` seconds; `density` shapes where
// the grains bunch (above 1: early).
void Gravel(Signal& out, Lcg& random, int count, double from, double to, double density,
            double level) {
    for (int i = 0; i < count; ++i) {
        double u = random.Uniform();
        for (double d = density; d > 1; d -= 1) u *= random.Uniform() * 0.5 + 0.5;
        const double at = from + (to - from) * u;
        const double fade = density > 1 ? 1 - u * 0.8 : 0.3 + 0.7 * u;
        const Signal grain = Grain(random, random.Range(0.003, 0.008), random.Range(1200, 4500));
        MixInto(out, grain, Samples(at, R), level * fade * random.Range(0.4, 1.0));
    }
}

// A tone that plays a list of notes one after another.
struct Arpeggio {
    const double* notes;
    int count;
    double step; // seconds between notes
    double ring; // each note's decay
    double last; // the last note's length
};
Signal PlayArpeggio(const Arpeggio& a) {
    Signal out;
    for (int i = 0; i < a.count; ++i) {
        const double hz = NoteHz(a.notes[i]);
        const bool final = i + 1 == a.count;
        Phase square, tri;
        const double length = final ? a.last : a.ring * 3;
        Signal note = Render(length, R, [&](double t) {
            const double vib = final && t > 0.12 ? 0.004 * Sin01(6 * t) : 0.0;
            const double f = hz * (1 + vib);
            const double v =
                0.35 * PulseBlep(square.Next(f, R), f / R, 0.25) + 0.8 * Triangle(tri.Next(f, R));
            const double env = final ? Decay(t, a.last * 0.4, 0.003) : Decay(t, a.ring, 0.003);
            return v * env;
        });
        FadeOut(note, R, 0.02);
        MixInto(out, note, Samples(a.step * i, R));
    }
    return out;
}
} // namespace

Signal Dig() {
    Lcg random{31};
    Signal out = Thud(58, 0.05, 32);
    Scale(out, 0.9);
    MixInto(out, Thud(70, 0.1, 33), Samples(0.22, R), 0.45); // soil falling back
    Gravel(out, random, 45, 0.01, 0.42, 2.5, 0.9);
    Gravel(out, random, 15, 0.22, 0.45, 2.0, 0.5);
    FinishOneShot(out, 0.85);
    return out;
}

Signal Refill() {
    // Soil welling up (a rising, thickening hiss full of grit) and settling.
    Lcg random{41};
    Svf sweep;
    const double rise = 0.55;
    Signal out = Render(rise, R, [&](double t) {
        const double x = t / rise;
        sweep.Process(random.White(), R, 250 + 1150 * x * x, 1.2);
        return sweep.band * x * x * (x < 0.92 ? 1.0 : (1 - x) / 0.08);
    });
    Gravel(out, random, 40, 0.08, rise, 0.5, 0.7);
    MixInto(out, Thud(50, 0.06, 42), Samples(rise - 0.01, R), 0.9);
    FinishOneShot(out, 0.8);
    return out;
}

Signal Lever() {
    Signal out;
    for (double at : {0.0, 0.035, 0.07}) MixInto(out, Clack(1.3), Samples(at, R), 0.35);
    MixInto(out, Clack(1.0), Samples(0.14, R));
    MixInto(out, Thud(90, 0.05, 51), Samples(0.14, R), 0.5);
    FinishOneShot(out, 0.85);
    return out;
}

Signal Door() {
    // A heavy slab grinding along its track on a motor, ending in a clunk.
    Lcg random{61};
    Svf rumble, scrape, motorTone;
    Phase motor, wobbleA, wobbleB;
    const double run = 1.12;
    Signal out = Render(run + 0.05, R, [&](double t) {
        const double swell = std::min(1.0, t / 0.15) * std::clamp((run - t) / 0.1, 0.0, 1.0);
        const double wobble =
            1 + 0.15 * Sin01(wobbleA.Next(3.1, R)) + 0.1 * Sin01(wobbleB.Next(4.7, R));
        const double n = random.White();
        rumble.Process(n, R, 160, 0.7);
        scrape.Process(n, R, 1400, 2.5);
        const double stick = 0.3 + 0.7 * Sin01(t * 23) * Sin01(t * 23);
        const double f = 95 - 15 * t / run;
        motorTone.Process(SawBlep(motor.Next(f, R), f / R), R, 500, 0.9);
        return swell * wobble *
               (2.2 * rumble.low + 0.3 * scrape.band * stick + 0.25 * motorTone.low);
    });
    Signal clunk = Kick(R, 0.8);
    MixInto(clunk, Clack(0.7), 0, 0.5);
    MixInto(out, clunk, Samples(run - 0.02, R), 0.8);
    AddReverb(out, R, {0.5, 0.6, 1.0}, 0.2, 0.6);
    FinishOneShot(out, 0.9);
    return out;
}

Signal Ingot() {
    Signal out = Bell(NoteHz(88), 0.35);                           // E6
    MixInto(out, Bell(NoteHz(95), 0.3), Samples(0.07, R), 0.8);    // B6
    MixInto(out, Bell(NoteHz(100), 0.25), Samples(0.14, R), 0.45); // E7
    Echo(out, R, 0.11, 0.35, 0.3, 6000);
    FinishOneShot(out, 0.75);
    return out;
}

Signal TimerPickup() {
    // Three quick ticks climbing, then a bright ding: time won back.
    Lcg noise{71};
    Signal out;
    const double pitches[3] = {1.0, 1.12, 1.26};
    for (int i = 0; i < 3; ++i) {
        Biquad ring = BandPass(R, 2600 * pitches[i], 16);
        Signal tick = Render(0.06, R, [&](double t) {
            return 6 * ring.Process(noise.White() * Decay(t, 0.0008, 0.0002));
        });
        FadeOut(tick, R, 0.02);
        MixInto(out, tick, Samples(0.07 * i, R), 0.5);
    }
    MixInto(out, Bell(NoteHz(91), 0.4), Samples(0.22, R));      // G6
    MixInto(out, Bell(NoteHz(98), 0.3), Samples(0.22, R), 0.5); // D7
    Echo(out, R, 0.12, 0.3, 0.25, 5000);
    FinishOneShot(out, 0.8);
    return out;
}

Signal ExtraLife() {
    static const double kNotes[6] = {69, 73, 76, 81, 85, 88}; // A major, rising two octaves
    Signal out = PlayArpeggio({kNotes, 6, 0.065, 0.08, 0.45});
    Echo(out, R, 0.13, 0.35, 0.35, 4500);
    FinishOneShot(out, 0.8);
    return out;
}

Signal Light() {
    // A soft ignition whoosh, then a warm glow of a shimmering open fifth.
    Lcg noise{81};
    Svf sweep;
    Signal out = Render(0.3, R, [&](double t) {
        sweep.Process(noise.White(), R, 250 * Exp2(3.3 * std::min(1.0, t / 0.18)), 1.5);
        return 1.4 * sweep.band * Decay(t, 0.1, 0.02);
    });
    Phase a, b, c, tremolo;
    Signal glow = Render(0.9, R, [&](double t) {
        const double shimmer = 0.75 + 0.25 * Sin01(tremolo.Next(7, R));
        const double env = Decay(t, 0.3, 0.06);
        return env * shimmer *
               (Sin01(a.Next(880, R)) + 0.6 * Sin01(b.Next(1318.5, R)) +
                0.35 * Sin01(c.Next(1760, R)));
    });
    FadeOut(glow, R, 0.4);
    MixInto(out, glow, Samples(0.08, R), 0.35);
    AddReverb(out, R, {0.6, 0.5, 1.0}, 0.3, 0.8);
    FinishOneShot(out, 0.75);
    return out;
}

Signal Spring() {
    // Boing: a springy tone whose pitch wobbles and settles as it rings out.
    Phase tone, buzz;
    Svf buzzFilter;
    Signal out = Render(0.8, R, [&](double t) {
        const double wobble = 1 + 0.35 * Exp(-t / 0.25) * Sin01(11 * t);
        const double f = 180 * wobble * (1 + 0.4 * Exp(-t / 0.03));
        const double p = tone.Next(f, R);
        const double body =
            (Sin01(p) + 0.3 * Sin01(2 * p) + 0.1 * Triangle(p)) * Decay(t, 0.28, 0.003);
        buzzFilter.Process(SawBlep(buzz.Next(2 * f, R), 2 * f / R), R, 1500, 1.0);
        return body + 0.25 * buzzFilter.low * Decay(t, 0.08, 0.002);
    });
    FinishOneShot(out, 0.85);
    return out;
}

Signal Push() {
    // Stone grinding on stone: a grating, stuttering scrape over a low rumble.
    Lcg noise{91}, jitter{92};
    Biquad low = BandPass(R, 650, 1.2), high = BandPass(R, 2300, 3), rumble = LowPass(R, 200);
    double grit = 1, gritTarget = 1;
    std::size_t n = 0;
    const Adsr envelope{0.05, 0.1, 0.85, 0.15};
    Signal out = Render(0.72, R, [&](double t) {
        if (n++ % 220 == 0) gritTarget = jitter.Range(0.3, 1.0); // every 10 ms
        grit += 0.02 * (gritTarget - grit);
        const double stick = 0.55 + 0.45 * SoftClip(3 * Sin01(t * 27 + 0.3 * Sin01(t * 5.3)));
        const double w = noise.White();
        const double v = 0.9 * low.Process(w) * grit + 0.4 * high.Process(w) * stick * grit +
                         0.8 * rumble.Process(w);
        return v * AdsrAt(envelope, t, 0.55);
    });
    FinishOneShot(out, 0.75);
    return out;
}

Signal Sensor() {
    // Violet magic waking: a rising sweep into a shimmering fifth, with sparkles.
    Lcg random{101};
    Phase sweep;
    Signal out = Render(0.45, R, [&](double t) {
        const double f = 440 * Exp2(std::min(1.0, t / 0.25));
        return Sin01(sweep.Next(f, R)) * Decay(t, 0.18, 0.01) * 0.6;
    });
    FmSettings glass{2.0, 0.8, 0.2, 0.3, 0.5, 0.08, 0.3, 6};
    MixInto(out, FmNote(R, NoteHz(81), 0.5, glass), Samples(0.2, R), 0.5); // A5
    MixInto(out, FmNote(R, NoteHz(88), 0.5, glass), Samples(0.2, R), 0.4); // E6
    for (int i = 0; i < 12; ++i) {
        const double hz = random.Range(3000, 6000);
        Phase ping;
        Signal spark = Render(
            0.12, R, [&](double t) { return Sin01(ping.Next(hz, R)) * Decay(t, 0.03, 0.001); });
        FadeOut(spark, R, 0.05);
        MixInto(out, spark, Samples(random.Range(0.1, 0.8), R), random.Range(0.05, 0.15));
    }
    AddReverb(out, R, {0.75, 0.4, 1.0}, 0.3, 1.0);
    FinishOneShot(out, 0.75);
    return out;
}

} // namespace sounds
