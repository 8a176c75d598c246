#include "sounds.h"

#include <algorithm>

#include "datakit.h"
#include "synth_voices.h"
#include "synth_wave.h"

using namespace synth;

namespace sounds {

void FinishOneShot(Signal& signal, double peak) {
    // Nothing below hearing: a sound with an offset thumps when mixed.
    Filter(signal, HighPass(kEffectRate, 25));
    TrimTail(signal, 2e-4 * Peak(signal));
    FadeIn(signal, kEffectRate, 0.0015);
    FadeOut(signal, kEffectRate, std::min(0.02, 0.2 * signal.size() / kEffectRate));
    Normalise(signal, peak);
}

void FinishLoop(Signal& signal, double peak) {
    Biquad subsonic = HighPass(kEffectRate, 25);
    ProcessLoop(signal, [&](double v) { return subsonic.Process(v); });
    RotateToQuietStart(signal, kEffectRate);
    Normalise(signal, peak);
}

Signal Clack(double pitch) {
    static const double kHz[4] = {1150, 2630, 3870, 5210};
    static const double kDecay[4] = {0.05, 0.03, 0.02, 0.012};
    static const double kLevel[4] = {1, 0.6, 0.4, 0.25};
    Lcg noise{17};
    Biquad snap = HighPass(kEffectRate, 2000);
    Phase partials[4], body;
    Signal out = Render(0.2, kEffectRate, [&](double t) {
        double v = 0;
        for (int k = 0; k < 4; ++k)
            v += kLevel[k] *
                 Sin01(partials[k].Next(std::min(10000.0, kHz[k] * pitch), kEffectRate)) *
                 Decay(t, kDecay[k], 0.0005);
        v += 0.8 * Sin01(body.Next(170 * pitch, kEffectRate)) * Decay(t, 0.03, 0.001);
        v += 0.6 * snap.Process(noise.White()) * Decay(t, 0.002, 0.0002);
        return v / 3;
    });
    FadeOut(out, kEffectRate, 0.05);
    return out;
}

Signal Grain(Lcg& random, double seconds, double hz) {
    Biquad band = BandPass(kEffectRate, hz, 2.5);
    Signal out = Render(seconds, kEffectRate, [&](double t) {
        return band.Process(random.White()) * Decay(t, seconds / 4, 0.0003);
    });
    FadeOut(out, kEffectRate, seconds / 3);
    return out;
}

Signal Bell(double hz, double seconds) {
    FmSettings bright{3.5, 2.4, 0.1, 0.12, seconds, 0.001, 0.2, 0};
    FmSettings body{1.0, 0.8, 0.2, 0.3, seconds * 1.4, 0.001, 0.2, 0};
    Signal out = FmNote(kEffectRate, hz, seconds * 2, bright);
    MixInto(out, FmNote(kEffectRate, hz, seconds * 2, body), 0, 0.6);
    return out;
}

namespace {
struct Effect {
    const char* file;
    Signal (*make)();
};

const Effect kEffects[] = {
    {"INTERF/CHOIX.WAV", MenuChoice}, {"INTERF/CLIC.WAV", Click},
    {"INTERF/TIMER.WAV", ClockTick},  {"SOUNDS/STEP.WAV", Step},
    {"SOUNDS/HURT.WAV", Hurt},        {"SOUNDS/DEATH.WAV", Death},
    {"SOUNDS/SEEN.WAV", Seen},        {"SOUNDS/LOST.WAV", Lost},
    {"SOUNDS/DIG.WAV", Dig},          {"SOUNDS/REFILL.WAV", Refill},
    {"SOUNDS/LEVER.WAV", Lever},      {"SOUNDS/DOOR.WAV", Door},
    {"SOUNDS/INGOT.WAV", Ingot},      {"SOUNDS/TIMER.WAV", TimerPickup},
    {"SOUNDS/LIFE.WAV", ExtraLife},   {"SOUNDS/LIGHT.WAV", Light},
    {"SOUNDS/SPRING.WAV", Spring},    {"SOUNDS/PUSH.WAV", Push},
    {"SOUNDS/SENSOR.WAV", Sensor},    {"SOUNDS/LAVA.WAV", Lava},
    {"SOUNDS/WATER.WAV", Water},      {"SOUNDS/TORCH.WAV", Torch},
    {"SOUNDS/HUM.WAV", Hum},
};
} // namespace

} // namespace sounds

void GenerateSounds(const DataKit& kit) {
    for (const sounds::Effect& effect : sounds::kEffects)
        WriteDataFile(kit, effect.file,
                      EncodeWave(effect.make(), static_cast<int>(sounds::kEffectRate)));
}
