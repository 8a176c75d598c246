// The two CD tracks, rendered with the synth voices to 22050 Hz stereo.
// Track 2, "Gears": D dorian, 112 beats a minute, driving bass, plucked
// sixteenths and a singing lead. Track 3, "Still Waters": E minor, 92 beats a
// minute with a lazy swing, electric piano, flute and soft brushes.
#include "music.h"

#include <stdexcept>
#include <string>

#include "music_render.h"
#include "music_score.h"
#include "synth_voices.h"
#include "synth_wave.h"

using namespace synth;

namespace music {

namespace {
constexpr double kRate = 22050;
constexpr int kBar = kStepsPerBar;

std::vector<Note> Drums(const std::string& line, int start, char symbol) {
    std::vector<Note> notes;
    for (Note n : ParseDrums(line, start))
        if (n.pitch == symbol || n.pitch == symbol + ('a' - 'A')) {
            n.velocity = n.pitch == symbol ? 120 : 70; // capitals accented
            notes.push_back(n);
        }
    return notes;
}

// A drum voice that ignores pitch.
Voice Hit(Signal (*make)(double, std::uint32_t)) {
    return [make](double, double, int, std::uint32_t seed) { return make(kRate, seed); };
}

Signal Crash(double rate, std::uint32_t seed) {
    return Cymbal(rate, seed, 0.9);
}
Signal KickHit(double rate, std::uint32_t) {
    return Kick(rate);
}
Signal SnareHit(double rate, std::uint32_t seed) {
    return Snare(rate, seed);
}
Signal SoftKick(double rate, std::uint32_t) {
    return Kick(rate, 0.85);
}
Signal ClosedHat(double rate, std::uint32_t seed) {
    return HiHat(rate, seed, false);
}
Signal OpenHat(double rate, std::uint32_t seed) {
    return HiHat(rate, seed, true);
}
Signal RimHit(double rate, std::uint32_t) {
    return Rim(rate);
}

// --- track 2 -----------------------------------------------------------------

const char* const kGearsChordsA = "Dm7 G Dm7 G | Bbmaj7 C Dm7 A";
const char* const kGearsChordsB = "Bb C Am Dm | Gm C F A";
const char* const kGearsMelodyA =
    "D5:3 F5:3 A5:2 G5:2 F5:2 E5:2 F5:2 | D5:3 B4:3 D5:2 G5:4 F5:2 E5:2 |"
    " D5:3 F5:3 A5:2 C6:4! A5:2 G5:2 | B5:6 A5:2 G5:4 D5:4 |"
    " F5:3 D5:3 Bb4:2 D5:2 F5:2 A5:4 | G5:3 E5:3 C5:2 E5:2 G5:2 C6:4! |"
    " A5:4 F5:2 D5:2 E5:2 F5:2 E5:2 D5:2 | C#5:6 E5:2 A4:8 |";
const char* const kGearsMelodyB =
    "D6:4! C6:2 Bb5:2 A5:4 F5:4 | E5:4 G5:2 C6:2 Bb5:4 G5:4 | A5:6 G5:2 E5:4 C5:4 |"
    " D5:8 F5:4 A5:4 | Bb5:4 A5:2 G5:2 D5:4 G5:4 | E5:4 F5:2 G5:2 C6:4 E6:4! |"
    " F5:4 A5:4 C6:6 A5:2 | E5:4 C#5:4 A4:4 E5:4 |";

// Bass root between D2 and C#3.
int GearsRoot(const Chord& c) {
    return 38 + (c.root + 10) % 12;
}

std::vector<Note> GearsBass(const std::vector<Chord>& chords) {
    struct Hit {
        int step, length, interval, velocity;
    };
    static const Hit kRiff[] = {{0, 2, 0, 120}, {3, 1, 0, 90},  {4, 2, 12, 105}, {6, 2, 0, 95},
                                {8, 2, 0, 118}, {11, 1, 0, 90}, {12, 2, 7, 105}, {14, 2, 12, 100}};
    std::vector<Note> notes;
    for (const Chord& c : chords)
        for (const Hit& h : kRiff)
            notes.push_back({c.step + h.step, h.length, GearsRoot(c) + h.interval, h.velocity});
    return notes;
}

// Sixteenths over two octaves of the chord.
std::vector<Note> GearsArpeggio(const std::vector<Chord>& chords, int velocity) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        const int root = 62 + (c.root + 10) % 12; // D4..C#5
        const int third = c.minor() ? 3 : 4;
        const int shape[8] = {0, 7, 12, third + 12, 19, third + 12, 12, 7};
        for (int s = 0; s < c.length; ++s)
            notes.push_back({c.step + s, 1, root + shape[s % 8] - 12, velocity - (s % 2 ? 25 : 0)});
    }
    return notes;
}

std::vector<Note> Pads(const std::vector<Chord>& chords, int lowest, int velocity) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        const auto tones = ChordNotes(c, lowest, c.step, c.length, velocity);
        notes.insert(notes.end(), tones.begin(), tones.end());
    }
    return notes;
}

Stereo Gears() {
    const Timing timing{kRate, 112, 0};
    const int intro = 0, a = 4 * kBar, b = 12 * kBar, a2 = 20 * kBar, end = 28 * kBar;
    std::vector<Chord> chords;
    for (auto [text, at] : {std::pair{"Dm7 G Dm7 G", intro},
                            {kGearsChordsA, a},
                            {kGearsChordsB, b},
                            {kGearsChordsA, a2}}) {
        const auto part = ParseChords(text, at);
        chords.insert(chords.end(), part.begin(), part.end());
    }
    std::vector<Chord> fromA(chords.begin() + 4, chords.end());

    MixBus bus;
    LeadSettings leadSound;
    leadSound.cutoff = 3200;
    leadSound.cutoffFloor = 1800;
    leadSound.resonance = 1.4;
    leadSound.vibratoDepth = 0.15;
    std::vector<Note> melody = ParseMelody(kGearsMelodyA, a, 100);
    Append(melody, ParseMelody(kGearsMelodyB, b, 100));
    Append(melody, ParseMelody(kGearsMelodyA, a2, 108));
    melody.push_back({end, 16, 62, 110}); // the last D, held
    Signal lead = RenderPart(melody, timing, [&](double hz, double held, int, std::uint32_t) {
        return LeadNote(kRate, hz, held, leadSound);
    });
    Echo(lead, kRate, 3 * timing.StepSeconds(), 0.35, 0.3, 3500);
    AddPart(bus, lead, 0.5, 0.12, 0.25);

    Signal pluck = RenderPart(GearsArpeggio(chords, 100), timing,
                              [](double hz, double held, int, std::uint32_t seed) {
                                  return Pluck(kRate, hz, held, 0.55, 0.5, seed);
                              });
    Echo(pluck, kRate, 3 * timing.StepSeconds(), 0.3, 0.25, 3000);
    AddPart(bus, pluck, 0.3, -0.45, 0.3);

    std::vector<Note> bass = GearsBass(fromA);
    for (const Chord& c : std::vector<Chord>(chords.begin(), chords.begin() + 4))
        bass.push_back({c.step, 16, GearsRoot(c), 110});
    bass.push_back({end, 16, 38, 120});
    Signal low = RenderPart(bass, timing, [](double hz, double held, int velocity, std::uint32_t) {
        return BassNote(kRate, hz, held, velocity / 127.0);
    });
    AddPart(bus, low, 0.4, 0, 0.03);

    std::vector<Note> pads = Pads(chords, 53, 90);
    Append(pads, ChordNotes(ParseChords("Dm7", end)[0], 53, end, 16, 90));
    for (int side = 0; side < 2; ++side) {
        Signal pad =
            RenderPart(pads, timing, [side](double hz, double held, int, std::uint32_t seed) {
                return PadNote(kRate, hz, held, 0.5, seed + side);
            });
        AddPart(bus, pad, 0.12, side ? 0.6 : -0.6, 0.5);
    }

    // Drums: hats alone in the intro, then the full kit, a fill every eighth bar.
    const std::string kicks = "K.....K...K.....", snares = "....S.......S...",
                      hats = "h.H.h.H.h.H.h.Hh";
    const std::string fillSnares = "....S.....S.SSSS";
    std::string kickLine = Repeat("................", 2) + Repeat(kicks, 2);
    std::string snareLine = Repeat("................", 3) + fillSnares;
    std::string hatLine = Repeat("........", 2) + Repeat("h.h.h.h.", 2) + Repeat(hats, 2);
    std::string crashLine = Repeat("................", 4);
    for (int section = 0; section < 3; ++section) {
        kickLine += Repeat(kicks, 8);
        snareLine += Repeat(snares, 7) + fillSnares;
        hatLine += Repeat(hats, 7) + "h.H.h.H.h.H.O...";
        crashLine += "C" + Repeat("................", 8).substr(1);
    }
    kickLine += "K";
    crashLine += "C";
    const struct {
        const std::string& line;
        char symbol;
        Signal (*make)(double, std::uint32_t);
        double gain, pan, send;
    } kit[] = {{kickLine, 'K', KickHit, 0.6, 0, 0.02},
               {snareLine, 'S', SnareHit, 0.45, 0.05, 0.2},
               {hatLine, 'H', ClosedHat, 0.22, 0.3, 0.05},
               {hatLine, 'O', OpenHat, 0.2, 0.3, 0.1},
               {crashLine, 'C', Crash, 0.25, -0.25, 0.2}};
    for (const auto& drum : kit)
        AddPart(bus, RenderPart(Drums(drum.line, 0, drum.symbol), timing, Hit(drum.make)),
                drum.gain, drum.pan, drum.send);
    return Master(bus, kRate, {0.75, 0.45, 1.0}, 3.0, 0.9);
}

// --- track 3 -----------------------------------------------------------------

const char* const kWatersChordsA = "Em9 Cmaj7 Am7 B7 | Em9 Cmaj7 Am7 B7";
const char* const kWatersChordsB = "Cmaj7 D Bm7 Em7 | Am7 D G B7";
const char* const kWatersMelodyA =
    "B4:4 E5:4 F#5:4 G5:4 | E5:8 r:2 B4:2 C5:2 D5:2 | E5:4 G5:4 A5:4 C6:2 B5:2 | B5:8 A5:4 F#5:4 |"
    " G5:4 F#5:2 E5:2 B4:4 E5:4 | G5:6 F#5:2 E5:4 D5:2 E5:2 | C5:4 E5:4 D5:2 C5:2 B4:2 A4:2 |"
    " B4:8 D#5:4 F#5:4 |";
const char* const kWatersMelodyB =
    "G5:4 E5:4 B5:8 | A5:4 F#5:4 D5:8 | D5:4 F#5:4 A5:4 B5:4 | G5:12 r:4 |"
    " A5:4 G5:2 E5:2 C5:4 E5:4 | F#5:4 A5:4 D6:8 | B5:4 A5:2 G5:2 D5:4 B4:4 | A5:4 F#5:4 D#5:4 "
    "B4:4 |";
const char* const kWatersMelodyOutro =
    "B4:4 E5:4 F#5:4 G5:4 | E5:8 r:2 B4:2 C5:2 D5:2 | E5:4 G5:4 A5:4 G5:4 | E5:16 |";

// Electric piano comping: the chord's upper tones on a lazy syncopation.
std::vector<Note> Comping(const std::vector<Chord>& chords, int velocity) {
    static const int kRhythm[3][2] = {{0, 6}, {6, 4}, {10, 6}};
    std::vector<Note> notes;
    for (const Chord& c : chords)
        for (int bar = 0; bar < c.length; bar += kBar)
            for (const auto& hit : kRhythm) {
                const auto tones =
                    ChordNotes(c, 52, c.step + bar + hit[0], hit[1], velocity - (hit[0] ? 15 : 0));
                notes.insert(notes.end(), tones.begin(), tones.end());
            }
    return notes;
}

std::vector<Note> WatersBass(const std::vector<Chord>& chords) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        const int root = 40 + (c.root + 8) % 12; // E2..D#3
        notes.push_back({c.step, 6, root, 110});
        notes.push_back({c.step + 6, 2, root, 80});
        notes.push_back({c.step + 8, 4, root + 7, 95});
        notes.push_back({c.step + 12, 4, root + 12, 85});
    }
    return notes;
}

Stereo StillWaters() {
    const Timing timing{kRate, 92, 0.22};
    const int intro = 0, a = 4 * kBar, b = 12 * kBar, outro = 20 * kBar;
    std::vector<Chord> chords;
    for (auto [text, at] : {std::pair{"Em9 Cmaj7 Am7 B7", intro},
                            {kWatersChordsA, a},
                            {kWatersChordsB, b},
                            {"Em9 Cmaj7 Am7 Em9", outro}}) {
        const auto part = ParseChords(text, at);
        chords.insert(chords.end(), part.begin(), part.end());
    }
    MixBus bus;

    std::vector<Note> melody = ParseMelody(kWatersMelodyA, a, 96);
    Append(melody, ParseMelody(kWatersMelodyOutro, outro, 90));
    Signal flute = RenderPart(melody, timing, [](double hz, double held, int, std::uint32_t seed) {
        return FluteNote(kRate, hz, held, seed);
    });
    Echo(flute, kRate, 4 * timing.StepSeconds(), 0.25, 0.2, 3000);
    AddPart(bus, flute, 0.42, 0.15, 0.4);

    // In B the mallets take the tune and the flute rests.
    const FmSettings mallet{3.5, 2.2, 0.2, 0.08, 0.35, 0.001, 0.25, 0};
    Signal mallets = RenderPart(ParseMelody(kWatersMelodyB, b, 104), timing,
                                [&](double hz, double held, int, std::uint32_t) {
                                    return FmNote(kRate, hz, std::min(held, 0.6), mallet);
                                });
    Echo(mallets, kRate, 3 * timing.StepSeconds(), 0.35, 0.3, 4000);
    AddPart(bus, mallets, 0.4, -0.2, 0.4);

    const FmSettings piano{1.0, 1.7, 0.25, 0.4, 1.4, 0.003, 0.3, 7};
    std::vector<Note> comp = Comping(std::vector<Chord>(chords.begin(), chords.end() - 1), 84);
    Append(comp, ChordNotes(chords.back(), 52, chords.back().step, 2 * kBar, 90));
    Signal keys = RenderPart(comp, timing, [&](double hz, double held, int, std::uint32_t) {
        return FmNote(kRate, hz, held, piano);
    });
    AddPart(bus, keys, 0.2, -0.3, 0.3);

    std::vector<Note> bass = WatersBass(std::vector<Chord>(chords.begin() + 4, chords.end() - 1));
    bass.push_back({chords.back().step, 2 * kBar, 40, 110});
    Signal low = RenderPart(bass, timing, [](double hz, double held, int velocity, std::uint32_t) {
        return BassNote(kRate, hz, held, 0.25 * velocity / 127.0);
    });
    AddPart(bus, low, 0.45, 0, 0.05);

    std::vector<Note> pads;
    for (const Chord& c : chords)
        Append(pads,
               ChordNotes(c, 55, c.step, c.length + (c.step == outro + 3 * kBar ? kBar : 0), 80));
    Signal pad = RenderPart(pads, timing, [](double hz, double held, int, std::uint32_t seed) {
        return PadNote(kRate, hz, held, 0.3, seed);
    });
    AddPart(bus, pad, 0.08, 0.4, 0.6);

    const std::string quiet = Repeat("................", 4);
    std::string kick = quiet, rim = quiet, shaker = Repeat("Z.z.Z.z.Z.z.Z.z.", 4);
    for (int bar = 4; bar < 23; ++bar) {
        kick += bar % 8 == 7 ? "K.........K.K..." : "K.........K.....";
        rim += bar % 8 == 7 ? "....X.......X.XX" : "....X.......X...";
        shaker += "Z.zzZ.zzZ.zzZ.zz";
    }
    kick += "K";
    const struct {
        const std::string& line;
        char symbol;
        Signal (*make)(double, std::uint32_t);
        double gain, pan, send;
    } kit[] = {{kick, 'K', SoftKick, 0.45, 0, 0.05},
               {rim, 'X', RimHit, 0.22, 0.2, 0.3},
               {shaker, 'Z', Shaker, 0.16, -0.35, 0.15}};
    for (const auto& drum : kit)
        AddPart(bus, RenderPart(Drums(drum.line, 0, drum.symbol), timing, Hit(drum.make)),
                drum.gain, drum.pan, drum.send);
    return Master(bus, kRate, {0.85, 0.5, 1.0}, 3.5, 0.85);
}
} // namespace

std::vector<std::uint8_t> CdTrack(int n) {
    if (n == 2) return EncodeWave(Gears(), static_cast<int>(kRate));
    if (n == 3) return EncodeWave(StillWaters(), static_cast<int>(kRate));
    throw std::invalid_argument("no CD track " + std::to_string(n));
}

} // namespace music
