#include "music_render.h"

#include <algorithm>
#include <cmath>

using namespace synth;

namespace music {

std::size_t Timing::At(int step) const {
    double seconds = step * StepSeconds();
    if (step % 4 == 2) seconds += swing * StepSeconds();
    return Samples(seconds, rate);
}

Signal RenderPart(const std::vector<Note>& notes, const Timing& timing, const Voice& voice) {
    Signal line;
    std::uint32_t seed = 1;
    for (const Note& n : notes) {
        const std::size_t start = timing.At(n.step);
        const double held = static_cast<double>(timing.At(n.step + n.length) - start) / timing.rate;
        const Signal note = voice(NoteHz(n.pitch), held, n.velocity, seed++ * 7919u);
        MixInto(line, note, start, n.velocity / 127.0);
    }
    return line;
}

void AddPart(MixBus& bus, const Signal& part, double gain, double pan, double send) {
    MixInto(bus.dry, part, 0, gain, pan);
    if (send > 0) MixInto(bus.send, part, 0, gain * send, pan);
}

Stereo Master(const MixBus& bus, double rate, const ReverbSettings& room, double tail,
              double peak) {
    Stereo out = Reverb(bus.send, rate, room, tail);
    MixInto(out, bus.dry, 0);
    Resize(out, std::max(out.left.size(), out.right.size()));
    // Leave the limiter a little room, then bring the whole piece to its level.
    Normalise(out, 1.0);
    Scale(out, 1.4);
    Limit(out, rate, 1.0);
    Normalise(out, peak);
    // The reverb's last whisper (below -60 dB) is cut and the cut faded.
    TrimTail(out, 0.001 * peak);
    FadeOut(out.left, rate, 0.3);
    FadeOut(out.right, rate, 0.3);
    return out;
}

std::vector<Note> ChordNotes(const Chord& chord, int lowest, int step, int length, int velocity) {
    int root = lowest + ((chord.root - lowest) % 12 + 12) % 12;
    std::vector<Note> notes;
    for (int i : chord.intervals) notes.push_back({step, length, root + i, velocity});
    return notes;
}

} // namespace music
