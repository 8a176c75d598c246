// Renders scores with the synth voices into stereo music: each part becomes
// a mono line, gets its own effects, and is mixed with a pan and a send to
// one shared reverb.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "music_score.h"
#include "synth.h"

namespace music {

// Makes one note: frequency, seconds held, velocity 1..127 and a seed that
// differs from note to note.
using Voice =
    std::function<synth::Signal(double hz, double held, int velocity, std::uint32_t seed)>;

struct Timing {
    double rate = 22050;
    double beatsPerMinute = 120;
    double swing = 0; // the off-beat eighths come this fraction of a step late
    double StepSeconds() const { return 60.0 / beatsPerMinute / 4; }
    // Where a step begins, in samples.
    std::size_t At(int step) const;
};

// Every note of `notes` played by `voice` into one mono line.
synth::Signal RenderPart(const std::vector<Note>& notes, const Timing& timing, const Voice& voice);

struct MixBus {
    synth::Stereo dry;
    synth::Stereo send; // what goes to the reverb
};
void AddPart(MixBus& bus, const synth::Signal& part, double gain, double pan, double send);

// The finished mix: dry plus reverb, limited below full scale and scaled to `peak`.
synth::Stereo Master(const MixBus& bus, double rate, const synth::ReverbSettings& room, double tail,
                     double peak);

// Notes of one chord, one per chord tone, from `lowest` upward (the root's
// octave at or above `lowest`), each `length` steps at `step`.
std::vector<Note> ChordNotes(const Chord& chord, int lowest, int step, int length, int velocity);

} // namespace music
