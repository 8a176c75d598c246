// The end credits: the title theme again, now in A major and at an easy
// 100 beats a minute, for a small orchestra of General MIDI instruments.
// Form: intro (4 bars), A on the flute (8), B on the horn (8), A with flute,
// horn and choir (8), and a coda (4) that slows to a held final chord.
#include "music.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "music_midi.h"
#include "music_score.h"
#include "synth.h"

namespace music {

namespace {
constexpr int kDivision = 480;     // ticks per quarter note
constexpr int kTicksPerStep = 120; // a sixteenth
constexpr int kBar = kStepsPerBar;

// General MIDI programs and the channel each part plays on.
struct Part {
    const char* name;
    int channel;
    int program;
    int volume;
    int pan;
    int reverb;
};
// Channel volumes leave headroom: players that run the synthesizer at full
// gain (as SDL_mixer does) would otherwise clip when the whole band plays.
const Part kFlute{"Flute", 0, 73, 64, 74, 70};
const Part kHorn{"Horn", 1, 60, 62, 50, 70};
const Part kStrings{"Strings", 2, 48, 57, 64, 80};
const Part kHarp{"Harp", 3, 46, 60, 86, 60};
const Part kBass{"Bass", 4, 32, 66, 64, 30};
const Part kPiano{"Piano", 5, 0, 57, 42, 60};
const Part kChoir{"Choir", 6, 52, 50, 64, 90};
const Part kDrums{"Drums", 9, 0, 60, 64, 40};

const char* const kMelodyA =
    "E5:4! A4:2 B4:2 C#5:4 D5:2 E5:2 | F#5:6 E5:2 C#5:4 A4:4 | E5:4 G#4:2 A4:2 C#5:4 E5:2 G#5:2 |"
    " D5:8 B4:4 G#4:4 | E5:4! A4:2 B4:2 C#5:4 D5:2 E5:2 | A5:6! G#5:2 F#5:4 E5:2 F#5:2 |"
    " D5:4 G#5:4 F#5:2 E5:2 D5:4 | C#5:4 B4:4 A4:8 |";
const char* const kMelodyB =
    "C#5:2 C#5:2 F#5:4 A5:4 G#5:2 F#5:2 | B4:2 B4:2 D5:4 G#5:4 F#5:2 D5:2 | E5:4 G#5:4 B5:6! A5:2 |"
    " A5:8 E5:8 | F#5:4 E5:2 D5:2 A5:4! F#5:4 | G#5:4 F#5:2 E5:2 D5:4 B4:4 | C#5:4 E5:4 G#5:8 |"
    " B5:8! G#5:4 E5:4 |";
const char* const kChordsIntro = "A F#m D E";
const char* const kChordsA = "A F#m C#m E7 | A F#m E7 A";
const char* const kChordsB = "Dmaj7 E C#m7 A | D E C#m E7";
const char* const kChordsCoda = "D E A:32";
const char* const kPianoIntro =
    "E5:4 A4:2 B4:2 C#5:8 | F#5:6 E5:2 C#5:8 | F#5:4 E5:4 D5:4 C#5:4 | B4:12 r:4 |";
const char* const kPianoCoda = "A5:4 F#5:4 D5:8 | G#5:4 E5:4 B4:8 | A4:2 C#5:2 E5:2 A5:26 |";

std::uint32_t Tick(int step) {
    return static_cast<std::uint32_t>(step * kTicksPerStep);
}

MidiTrack Open(const Part& part) {
    MidiTrack track{part.name, {}};
    if (part.channel != 9) AddProgram(track, part.channel, 0, part.program);
    AddControl(track, part.channel, 0, 7, part.volume);
    AddControl(track, part.channel, 0, 10, part.pan);
    AddControl(track, part.channel, 0, 91, part.reverb);
    return track;
}

// Adds notes with a gentle, repeatable variation of loudness.
void Play(MidiTrack& track, const Part& part, const std::vector<Note>& notes, synth::Lcg& random,
          int transpose = 0, int velocityShift = 0) {
    for (const Note& n : notes) {
        const int velocity = std::clamp(n.velocity + velocityShift + random.Below(9) - 4, 1, 127);
        AddNote(track, part.channel, Tick(n.step), Tick(n.length) - 10, n.pitch + transpose,
                velocity);
    }
}

// Four-part string voicing of each chord, moving as little as possible from
// the last one.
std::vector<Note> Voices(const std::vector<Chord>& chords, int velocity) {
    std::vector<Note> notes;
    std::vector<int> previous{57, 61, 64, 69};
    for (const Chord& c : chords) {
        std::vector<int> tones;
        for (int p = 52; p <= 76; ++p)
            for (int i : c.intervals)
                if ((p - c.root - i) % 12 == 0 && i < 12) tones.push_back(p);
        std::vector<int> best;
        int bestCost = 1 << 30;
        const int n = static_cast<int>(tones.size());
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                for (int d = b + 1; d < n; ++d)
                    for (int e = d + 1; e < n; ++e) {
                        const std::vector<int> v{tones[a], tones[b], tones[d], tones[e]};
                        if (v[3] - v[0] > 16) continue;
                        // Every chord has its root and third; four-note chords all their tones.
                        bool complete = true;
                        for (std::size_t k = 0; k < std::min<std::size_t>(c.intervals.size(), 4);
                             ++k) {
                            if (k == 2 && c.intervals.size() == 3) continue;
                            const int pc = (c.root + c.intervals[k]) % 12;
                            complete &= std::any_of(v.begin(), v.end(),
                                                    [&](int p) { return p % 12 == pc; });
                        }
                        if (!complete) continue;
                        int cost = 0;
                        for (int k = 0; k < 4; ++k) cost += std::abs(v[k] - previous[k]);
                        if (cost < bestCost) {
                            bestCost = cost;
                            best = v;
                        }
                    }
        if (best.empty()) throw std::logic_error("no string voicing for a chord");
        for (int p : best) notes.push_back({c.step, c.length, p, velocity});
        previous = best;
    }
    return notes;
}

int Third(const Chord& c) {
    for (int i : c.intervals)
        if (i == 3 || i == 4) return i;
    return 4;
}

// Broken chords in eighths, rising and falling over an octave and a half.
std::vector<Note> Arpeggios(const std::vector<Chord>& chords, int velocity) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        const int root = 45 + (c.root + 3) % 12; // A2..G#3
        const int third = Third(c);
        const int shape[8] = {0, 7, 12, 12 + third, 19, 12 + third, 12, 7};
        for (int s = 0; s < c.length; s += 2)
            notes.push_back(
                {c.step + s, 2, root + shape[(s / 2) % 8], velocity - (s % 4 ? 12 : 0)});
    }
    return notes;
}

std::vector<Note> BassLine(const std::vector<Chord>& chords, bool held) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        const int root = 33 + (c.root + 3) % 12; // A1..G#2
        if (held) {
            notes.push_back({c.step, c.length, root, 92});
            continue;
        }
        for (int s = 0; s < c.length; s += kBar) {
            notes.push_back({c.step + s, 8, root, 96});
            notes.push_back({c.step + s + 8, 4, root + 7, 84});
            notes.push_back({c.step + s + 12, 4, root + 12, 80});
        }
    }
    return notes;
}

std::vector<Note> Drums(const std::vector<std::string>& lines, int start) {
    struct Hit {
        char symbol;
        int note, velocity;
    };
    static const Hit kHits[] = {{'K', 36, 88}, {'S', 38, 80}, {'s', 38, 44},
                                {'X', 37, 66}, {'h', 42, 48}, {'O', 46, 56},
                                {'R', 51, 64}, {'r', 51, 46}, {'C', 49, 86}};
    std::vector<Note> notes;
    for (const std::string& line : lines)
        for (Note n : ParseDrums(line, start)) {
            const auto hit = std::find_if(std::begin(kHits), std::end(kHits),
                                          [&](const Hit& h) { return h.symbol == n.pitch; });
            if (hit == std::end(kHits)) continue;
            n.pitch = hit->note;
            n.velocity = hit->velocity;
            n.length = 2;
            notes.push_back(n);
        }
    return notes;
}

} // namespace

std::vector<std::uint8_t> EndingMidi() {
    synth::Lcg random{2024};
    const int intro = 0, a = 4 * kBar, b = 12 * kBar, a2 = 20 * kBar, coda = 28 * kBar;
    const int end = 32 * kBar;

    MidiTrack conductor{"Kelvane - End Credits", {}};
    AddTimeSignature(conductor, 0, 4, 4);
    AddKeySignature(conductor, 0, 3, false);
    AddTempo(conductor, 0, 100);
    AddTempo(conductor, Tick(coda), 96);
    AddTempo(conductor, Tick(coda + kBar), 88);
    AddTempo(conductor, Tick(coda + 2 * kBar), 76);
    AddText(conductor, Tick(end + kBar), 0x06, "end"); // room for the last chord to ring

    std::vector<Chord> all;
    for (auto [text, at] : {std::pair{kChordsIntro, intro},
                            {kChordsA, a},
                            {kChordsB, b},
                            {kChordsA, a2},
                            {kChordsCoda, coda}}) {
        const auto part = ParseChords(text, at);
        all.insert(all.end(), part.begin(), part.end());
    }
    const auto between = [&](int from, int to) {
        std::vector<Chord> out;
        for (const Chord& c : all)
            if (c.step >= from && c.step < to) out.push_back(c);
        return out;
    };

    MidiTrack flute = Open(kFlute), horn = Open(kHorn), strings = Open(kStrings),
              harp = Open(kHarp), bass = Open(kBass), piano = Open(kPiano), choir = Open(kChoir),
              drums = Open(kDrums);

    Play(flute, kFlute, ParseMelody(kMelodyA, a, 92), random);
    Play(horn, kHorn, ParseMelody(kMelodyB, b, 96), random);
    Play(flute, kFlute, ParseMelody(kMelodyA, a2, 100), random);
    Play(horn, kHorn, ParseMelody(kMelodyA, a2, 80), random, -12);
    Play(flute, kFlute, ParseMelody("A5:32", coda + 2 * kBar, 80), random);
    Play(horn, kHorn, ParseMelody("E4:32", coda + 2 * kBar, 70), random);

    Play(strings, kStrings, Voices(between(intro, a), 62), random);
    Play(strings, kStrings, Voices(between(a, b), 68), random);
    Play(strings, kStrings, Voices(between(b, a2), 76), random);
    Play(strings, kStrings, Voices(between(a2, end), 82), random);
    Play(choir, kChoir, Voices(between(a2, end), 64), random, 12);

    Play(harp, kHarp, Arpeggios(between(intro, coda + 2 * kBar), 78), random);
    // The last chord rolled upward once.
    Play(harp, kHarp,
         ParseMelody("A2:1 E3:1 A3:1 C#4:1 E4:1 A4:1 C#5:1 E5:1 A5:24", coda + 2 * kBar, 80),
         random);

    Play(bass, kBass, BassLine(between(intro, a), true), random);
    Play(bass, kBass, BassLine(between(a, coda), false), random);
    Play(bass, kBass, BassLine(between(coda, end), true), random);

    Play(piano, kPiano, ParseMelody(kPianoIntro, intro, 74), random);
    Play(piano, kPiano, ParseMelody(kPianoCoda, coda, 78), random);

    const std::string bar = "K.......K.K.....";
    Play(drums, kDrums,
         Drums({"C" + Repeat(bar, 8).substr(1), Repeat("....X.......X...", 8),
                Repeat("h.h.h.h.h.h.h.h.", 8)},
               a),
         random);
    Play(drums, kDrums,
         Drums({"C" + Repeat("K.....K.K.......", 8).substr(1), Repeat("....s.......S...", 8),
                Repeat("R.r.R.r.R.r.R.r.", 8)},
               b),
         random);
    Play(drums, kDrums,
         Drums({"C" + Repeat("K.....K.K.....K.", 8).substr(1),
                Repeat("....S.......S...", 7) + "....S.....S.SsSS", Repeat("h.h.h.h.h.h.h.hO", 8)},
               a2),
         random);
    Play(drums, kDrums, Drums({"C...............K...............C"}, coda), random);

    return EncodeMidi({conductor, flute, horn, strings, harp, bass, piano, choir, drums},
                      kDivision);
}

} // namespace music
