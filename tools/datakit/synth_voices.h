// Instruments of the data kit: drum hits and pitched notes rendered into
// mono signals. The sound effects, the module's samples and the rendered
// music all draw on them, so the game's sounds share one character.
#pragma once

#include <cstdint>

#include "synth.h"

namespace synth {

// --- drums (each a complete hit, silent at both ends) ------------------------

Signal Kick(double rate, double tune = 1.0);
Signal Snare(double rate, std::uint32_t seed, double tune = 1.0);
Signal HiHat(double rate, std::uint32_t seed, bool open);
Signal Cymbal(double rate, std::uint32_t seed, double seconds); // crash or ride wash
Signal Tom(double rate, double hz);
Signal Clap(double rate, std::uint32_t seed);
Signal Shaker(double rate, std::uint32_t seed);
Signal Rim(double rate);
// A water drop: a short ping from `hz` bending up by `bend` octaves in 20 ms,
// decaying over `decay` seconds.
Signal Drip(double rate, double hz, double bend, double decay);

// --- pitched notes: `held` seconds of key-down, then the release -------------

// A plucked string (Karplus-Strong): brightness 0..1, ringing for `ring` seconds.
Signal Pluck(double rate, double hz, double held, double brightness, double ring,
             std::uint32_t seed);

// Two-operator phase modulation: electric pianos, bells, mallets.
struct FmSettings {
    double ratio = 1;       // modulator / carrier frequency
    double index = 2;       // modulation depth at the start (radians)
    double indexEnd = 0.3;  // ... and after `indexTime`
    double indexTime = 0.4; // seconds
    double ampDecay = 1.2;  // seconds to 1/e while held
    double attack = 0.002;  // seconds
    double release = 0.25;  // seconds after the key is let go
    double detuneCents = 0; // a second carrier, mixed in, for chorus
};
Signal FmNote(double rate, double hz, double held, const FmSettings& settings);

// A subtractive lead: two detuned saws and a pulse through a resonant low-pass,
// with delayed vibrato.
struct LeadSettings {
    double cutoff = 2500;     // Hz at the peak of the filter envelope
    double cutoffFloor = 900; // Hz once settled
    double resonance = 1.2;
    double pulseMix = 0.4;
    double vibratoDepth = 0.2; // semitones
    double vibratoDelay = 0.25;
    double glideFrom = 0; // Hz to slide from (0: none)
    Adsr envelope{0.01, 0.3, 0.75, 0.12};
};
Signal LeadNote(double rate, double hz, double held, const LeadSettings& settings);

// A round synth bass: saw and sub-octave through an enveloped low-pass.
Signal BassNote(double rate, double hz, double held, double velocity);

// A warm, slow pad of detuned saws.
Signal PadNote(double rate, double hz, double held, double brightness, std::uint32_t seed);

// A breathy flute-like tone.
Signal FluteNote(double rate, double hz, double held, std::uint32_t seed);

} // namespace synth
