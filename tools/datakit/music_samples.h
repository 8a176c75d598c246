// Instrument samples for the module: 8-bit sounds with a sustaining loop.
#pragma once

#include <cstdint>
#include <vector>

#include "music_mod.h"
#include "synth.h"

namespace music {

// One sine partial of a looped tone.
struct Partial {
    int cycles = 1; // whole cycles in the loop, so the loop has no seam
    double level = 1;
    double boost = 0; // extra level at the very start, gone by the loop
    double phase = 0; // in cycles
};

// A tone that opens over `attack` samples and then repeats its last `loop`
// samples for as long as the note is held.
struct LoopedTone {
    std::size_t attack = 0;
    std::size_t loop = 1;
    std::vector<Partial> partials;
    double fadeIn = 0.005; // seconds of the opening ramp (a pad's slow swell when long)
    double swell = 1;      // level at the start relative to the sustained loop
};
synth::Signal RenderLoopedTone(const LoopedTone& tone, double rate);

// The loop length in samples (even) that holds `cycles` whole periods of `hz` at `rate`.
std::size_t LoopFor(double hz, int cycles, double rate);

// An 8-bit module sample from a signal scaled to nearly full range, with a
// little noise shaping so quiet tails keep their shape. The loop (if any) must
// start and last on whole words; the data ends with the loop.
ModSample MakeModSample(const char* name, const synth::Signal& signal, std::size_t loopStart,
                        std::size_t loopLength, std::uint32_t seed);

} // namespace music
