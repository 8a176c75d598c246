// The wave music "Caverns": forty seconds of slow chords over a low drone,
// cave wind, distant drips and a few bell notes, all in a large reverb. It is
// built as a circle (events that run past the end continue at the start, the
// reverb is settled round the loop) so that it repeats without a seam.
#include "music.h"

#include "synth_voices.h"
#include "synth_wave.h"

using namespace synth;

namespace music {

namespace {
constexpr double kRate = 22050;
constexpr double kLength = 40;
constexpr double kChordSeconds = 10;

// Chord voicings, low to high: Am9, Fmaj7, Dm9, Esus4 (resolving to E major halfway).
const int kChords[4][6] = {{45, 52, 57, 60, 64, 71},
                           {41, 48, 57, 60, 64, 69},
                           {38, 45, 53, 60, 64, 69},
                           {40, 47, 57, 59, 64, 71}};
// Two bell notes per chord: pitch and seconds into the chord.
const double kBells[4][2][2] = {
    {{76, 2.0}, {72, 6.5}}, {{72, 1.5}, {69, 6.0}}, {{74, 2.5}, {69, 7.0}}, {{76, 1.0}, {71, 6.0}}};

std::size_t At(double seconds) {
    return Samples(seconds, kRate);
}

// A pad tone that swells in over two seconds and out over three.
Signal SlowPad(double hz, double held, std::uint32_t seed) {
    Signal tone = PadNote(kRate, hz, held, 0.12, seed);
    FadeIn(tone, kRate, 2.0);
    FadeOut(tone, kRate, 3.0);
    return tone;
}
} // namespace

std::vector<std::uint8_t> CavernsWave() {
    const std::size_t length = At(kLength);
    Stereo dry, send;
    Resize(dry, length);
    Resize(send, length);

    // Chords, each tone on its own side of the stereo field.
    for (int c = 0; c < 4; ++c) {
        const double start = c * kChordSeconds - 1.0 + kLength; // overlaps the chord before
        for (int t = 0; t < 6; ++t) {
            int pitch = kChords[c][t];
            double held = kChordSeconds + 1.5;
            if (c == 3 && pitch == 57) held = kChordSeconds / 2; // the suspension
            const Signal tone = SlowPad(NoteHz(pitch), held, 301 + 13 * c + t);
            const double pan = (t % 2 ? 0.45 : -0.45) * (t < 2 ? 0.3 : 1.0);
            MixWrapped(dry, tone, At(start), 0.16, pan);
            MixWrapped(send, tone, At(start), 0.12, pan);
        }
        if (c == 3) { // ... resolving onto G#
            const Signal third = SlowPad(NoteHz(56), kChordSeconds / 2 + 1.5, 355);
            MixWrapped(dry, third, At(start + kChordSeconds / 2 + 1), 0.16, 0.45);
            MixWrapped(send, third, At(start + kChordSeconds / 2 + 1), 0.12, 0.45);
        }
    }

    // A low drone on A and E whose partials close the loop in whole cycles.
    for (std::size_t n = 0; n < length; ++n) {
        const double x = static_cast<double>(n) / static_cast<double>(length); // loop position
        const double swell = 0.75 + 0.25 * Sin01(2 * x);
        const double v = Sin01(2200 * x) + 0.6 * Sin01(3296 * x) + 0.3 * Sin01(4400 * x + 0.2);
        dry.left[n] += 0.05 * swell * v;
        dry.right[n] += 0.05 * swell * v;
    }

    // Wind in the tunnels: noise through a slowly wandering band, each side its own.
    for (int side = 0; side < 2; ++side) {
        Lcg noise{401u + side};
        Signal wind(length);
        for (double& v : wind) v = noise.White();
        Svf band;
        std::size_t n = 0;
        ProcessLoop(wind, [&](double v) {
            const double x = static_cast<double>(n++ % length) / static_cast<double>(length);
            const double hz = 500 + 300 * Sin01(3 * x + side * 0.3) + 150 * Sin01(7 * x);
            band.Process(v, kRate, hz, 1.8);
            return band.band * (0.6 + 0.4 * Sin01(5 * x + 0.5 * side));
        });
        MixInto(side ? dry.right : dry.left, wind, 0, 0.035);
    }

    // Distant drips, landing anywhere around the loop.
    Lcg random{411};
    for (int i = 0; i < 12; ++i) {
        const double base = random.Range(900, 1800);
        const Signal drop = Drip(kRate, base, 1.2, 0.04);
        const std::size_t at = At((i + random.Range(0.1, 0.9)) * kLength / 12);
        const double pan = random.Range(-0.8, 0.8), level = random.Range(0.04, 0.1);
        MixWrapped(dry, drop, at, level * 0.3, pan);
        MixWrapped(send, drop, at, level, pan);
    }

    // Bell notes with a long echo.
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 2; ++k) {
            const FmSettings glass{2.0, 1.3, 0.15, 0.5, 2.5, 0.004, 1.0, 3};
            Signal bell = FmNote(kRate, NoteHz(kBells[c][k][0]), 3.0, glass);
            Echo(bell, kRate, 0.45, 0.4, 0.45, 2500);
            const std::size_t at = At(c * kChordSeconds + kBells[c][k][1]);
            const double pan = k ? 0.5 : -0.5;
            MixWrapped(dry, bell, at, 0.07, pan);
            MixWrapped(send, bell, at, 0.09, pan);
        }

    const Stereo cave = ReverbLoop(send, kRate, {0.93, 0.5, 1.0});
    MixInto(dry, cave, 0, 1.2);
    Resize(dry, length);
    RotateToQuietStart(dry, kRate);
    Normalise(dry, 0.75);
    return EncodeWave(dry, static_cast<int>(kRate));
}

} // namespace music
