// The title theme: a four-channel module in A minor at 125 beats a minute.
// Form: intro (4 bars), A (8), B (8), A again with its closing cadence (8) and
// a bridge (4) that leads back to the start. Players pan channels 1 and 4 to
// the left, 2 and 3 to the right: melody and bass go left, drums and chords
// right, which keeps the two sides about equally loud.
#include "music.h"

#include <string>

#include "music_samples.h"
#include "synth_voices.h"

using namespace synth;

namespace music {

namespace {
enum Channel { kMelodyChannel = 0, kDrumChannel = 1, kChordChannel = 2, kBassChannel = 3 };
enum SampleNumber {
    kLead = 1,
    kBell,
    kBass,
    kPadMajor,
    kPadMinor,
    kKick,
    kSnare,
    kHat,
    kOpenHat,
    kCrash
};

// Melody and bell notes are tuned so that C-3 plays C5; the bass so that C-1
// plays C1; the chords so that C-3 plays C4; drums are played at C-3.
const double kHighRate = ModRate(ModPeriod(24));
const double kBassRate = ModRate(ModPeriod(0));
constexpr int kDrumNote = 24;

ModSample LeadSample() {
    LoopedTone tone;
    tone.loop = LoopFor(NoteHz(72), 64, kHighRate);
    tone.attack = 1990;
    tone.swell = 1.25;
    tone.fadeIn = 0.004;
    for (int h = 1; h <= 13; ++h) {
        const double level = (h % 2 ? 1.0 : 0.45) / h / (1 + (h / 9.0) * (h / 9.0));
        tone.partials.push_back({64 * h, level, h >= 2 ? 1.2 : 0.0, 0});
    }
    return MakeModSample("Kelvane lead", RenderLoopedTone(tone, kHighRate), tone.attack, tone.loop,
                         1);
}

ModSample BellSample() {
    FmSettings glock{4.0, 1.6, 0.25, 0.12, 0.5, 0.001, 0.3, 0};
    Signal bell = FmNote(kHighRate, NoteHz(72), 0.9, glock);
    FmSettings body{1.0, 0.5, 0.1, 0.2, 0.7, 0.001, 0.3, 0};
    MixInto(bell, FmNote(kHighRate, NoteHz(72), 0.9, body), 0, 0.7);
    return MakeModSample("Kelvane bell", bell, 0, 0, 2);
}

ModSample BassSample() {
    LoopedTone tone;
    tone.loop = LoopFor(NoteHz(24), 16, kBassRate);
    tone.attack = 828;
    tone.swell = 1.4;
    tone.fadeIn = 0.003;
    for (int h = 1; h <= 40; ++h) {
        const double level = 1.0 / h / (1 + (h / 10.0) * (h / 10.0));
        tone.partials.push_back({16 * h, level, h >= 3 ? 2.0 : 0.0, 0});
    }
    return MakeModSample("Kelvane bass", RenderLoopedTone(tone, kBassRate), tone.attack, tone.loop,
                         3);
}

// An open chord (root, fifth, octave, tenth) of soft detuned voices, a second long.
ModSample PadSample(bool minor) {
    LoopedTone tone;
    tone.loop = 16574;
    tone.attack = 5800;
    tone.fadeIn = 0.3;
    const double ratios[4] = {1.0, 1.5, 2.0, minor ? 2.4 : 2.5};
    const double levels[4] = {1.0, 0.8, 0.7, 0.75};
    Lcg random{minor ? 44u : 45u};
    const double root = NoteHz(60);
    for (int t = 0; t < 4; ++t) {
        for (int h = 1; h <= 8; ++h) {
            const double hz = root * ratios[t] * h;
            if (hz > 6000) break;
            const double soft = 1 / (1 + (hz / 2200) * (hz / 2200));
            const double level = levels[t] * soft / (h * (0.7 + 0.3 * h));
            const int cycles = static_cast<int>(hz * tone.loop / kHighRate + 0.5);
            for (int d = -1; d <= 1; ++d)
                tone.partials.push_back(
                    {cycles + d, level * (d == 0 ? 1.0 : 0.6), 0, random.Uniform()});
        }
    }
    return MakeModSample(minor ? "Kelvane pad minor" : "Kelvane pad major",
                         RenderLoopedTone(tone, kHighRate), tone.attack, tone.loop, minor ? 5 : 4);
}

std::vector<ModSample> Samples() {
    std::vector<ModSample> samples{LeadSample(), BellSample(), BassSample(), PadSample(false),
                                   PadSample(true)};
    samples.push_back(MakeModSample("kick", Kick(kHighRate), 0, 0, 6));
    samples.push_back(MakeModSample("snare", Snare(kHighRate, 7), 0, 0, 7));
    samples.push_back(MakeModSample("closed hat", HiHat(kHighRate, 8, false), 0, 0, 8));
    samples.push_back(MakeModSample("open hat", HiHat(kHighRate, 9, true), 0, 0, 9));
    Signal crash = Cymbal(kHighRate, 10, 0.6);
    MixInto(crash, Kick(kHighRate), 0, 1.3);
    samples.push_back(MakeModSample("crash", crash, 0, 0, 10));
    for (const char* line : {"", "Kelvane title theme", "composed and played", "by the data kit"}) {
        ModSample text;
        text.name = line;
        samples.push_back(text);
    }
    return samples;
}

// --- the score ---------------------------------------------------------------

constexpr int kBar = kStepsPerBar;

const char* const kMelodyA =
    "E5:4! A4:2 B4:2 C5:4 D5:2 E5:2 | F5:6 E5:2 C5:4 A4:4 | E5:4 G4:2 A4:2 C5:4 E5:2 G5:2 |"
    " D5:8 B4:4 G4:4 | E5:4! A4:2 B4:2 C5:4 D5:2 E5:2 | A5:6! G5:2 F5:4 E5:2 F5:2 |"
    " D5:4 G5:4 F5:2 E5:2 D5:4 |";
const char* const kEndingOpen = "B4:6 G#4:2 E4:8 |";
const char* const kEndingClosed = "C5:4 B4:4 A4:8 |";
const char* const kMelodyB =
    "C5:2 C5:2 F5:4 A5:4 G5:2 F5:2 | B4:2 B4:2 D5:4 G5:4 F5:2 D5:2 | E5:4 G5:4 B5:6! A5:2 |"
    " A5:8 E5:8 | F5:4 E5:2 D5:2 A5:4! F5:4 | G5:4 F5:2 E5:2 D5:4 B4:4 | C5:4 E5:4 G5:8 |"
    " B5:8! G#5:4 E5:4 |";
const char* const kIntroBells =
    "A4:2 C5:2 E5:2 A5:2 E5:2 C5:2 A4:2 C5:2 | F4:2 A4:2 C5:2 F5:2 C5:2 A4:2 F4:2 A4:2 |"
    " E4:2 G4:2 C5:2 E5:2 G5:2 E5:2 C5:2 G4:2 | D5:2 G4:2 B4:2 D5:2 G5:2 D5:2 B4:2 G4:2 |";
const char* const kBridgeBells =
    "D5:2 F5:2 A5:2 F5:2 D5:2 F5:2 A5:2 D5:2 | C5:2 E5:2 A5:2 E5:2 C5:2 E5:2 A5:2 C5:2 |"
    " C5:2 F5:2 A5:2 F5:2 C5:2 F5:2 A5:2 C5:2 | B4:2 E5:2 G#5:2 B5:2 G#5:2 E5:2 B4:2 G#4:2 |";

const char* const kChordsA = "Am F C G | Am F G E";
const char* const kChordsAClosed = "Am F C G | Am F G Am";
const char* const kChordsB = "F G Em Am | Dm G C E";
const char* const kChordsBridge = "Dm Am F E";

// The bass root of a chord, between E1 and D#2.
int BassRoot(const Chord& chord) {
    return 28 + (chord.root + 8) % 12;
}

// Driving eighths: root, root, octave, root, root, octave, root, fifth.
std::vector<Note> DrivingBass(const std::vector<Chord>& chords) {
    std::vector<Note> notes;
    static const int kShape[8] = {0, 0, 12, 0, 0, 12, 0, 7};
    for (const Chord& c : chords)
        for (int i = 0; i < 8; ++i)
            notes.push_back({c.step + 2 * i, 2, BassRoot(c) + kShape[i], i % 2 ? 96 : 118});
    return notes;
}

std::vector<Note> HalfTimeBass(const std::vector<Chord>& chords) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        notes.push_back({c.step, 6, BassRoot(c), 118});
        notes.push_back({c.step + 6, 2, BassRoot(c), 90});
        notes.push_back({c.step + 8, 4, BassRoot(c) + 12, 104});
        notes.push_back({c.step + 12, 4, BassRoot(c) + 7, 100});
    }
    return notes;
}

// The chord voice: the root position chord sample on the chord's root, A3..G#4.
void PlacePads(std::vector<ModRow>& rows, const std::vector<Chord>& chords, int velocity) {
    std::vector<Note> major, minor;
    for (const Chord& c : chords)
        (c.minor() ? minor : major).push_back({c.step, c.length, 57 + (c.root + 3) % 12, velocity});
    PlaceNotes(rows, kChordChannel, major, {kPadMajor, 36, 0.5, {}, 0, 0});
    PlaceNotes(rows, kChordChannel, minor, {kPadMinor, 36, 0.5, {}, 0, 0});
}

void PlaceDrums(std::vector<ModRow>& rows, const std::string& line, int start) {
    struct Hit {
        char symbol;
        int sample;
        double gain;
    };
    static const Hit kHits[] = {{'K', kKick, 1.0}, {'S', kSnare, 0.85}, {'s', kSnare, 0.45},
                                {'H', kHat, 0.5},  {'h', kHat, 0.36},   {'O', kOpenHat, 0.5},
                                {'C', kCrash, 1.0}};
    const std::vector<Note> all = ParseDrums(line, start);
    for (const Hit& hit : kHits) {
        std::vector<Note> notes;
        for (Note n : all)
            if (n.pitch == hit.symbol) {
                n.pitch = kDrumNote;
                n.velocity = 127;
                notes.push_back(n);
            }
        PlaceNotes(rows, kDrumChannel, notes, {hit.sample, 0, hit.gain, {}, 0, 0});
    }
}

const ModInstrument kLeadVoice{kLead, 48, 0.8, {0x08, 0x0F}, 0, 0x62};
const ModInstrument kBellVoice{kBell, 48, 0.62, {}, 0, 0};
const ModInstrument kBassVoice{kBass, 24, 0.75, {0x0F}, 0x04, 0};

const std::string kGroove = "K.h.S.h.K.KhS.hh";
const std::string kGrooveB = "K.h.S.hOK.KhS.hO";
const std::string kFill = "K.h.S.h.K.S.SsSS";

std::string Phrase(const std::string& groove, bool crash) {
    std::string first = groove;
    if (crash) first[0] = 'C';
    return first + groove + groove + kFill;
}

std::vector<ModRow> Score() {
    std::vector<ModRow> rows;
    int at = 0;
    // Intro: the chords alone, the bell, then the drums coming in.
    {
        const auto chords = ParseChords("Am F C G", at);
        PlacePads(rows, chords, 110);
        PlaceNotes(rows, kMelodyChannel, ParseMelody(kIntroBells, at, 100), kBellVoice);
        std::vector<Note> bass =
            ParseMelody("A1:16 | F1:16 | C2:2 C2:2 C3:2 C2:2 C2:2 C3:2 C2:2 G2:2 |"
                        " G1:2 G1:2 G2:2 G1:2 A1:2 A1:2 B1:2 B1:2 |",
                        at, 110);
        PlaceNotes(rows, kBassChannel, bass, kBassVoice);
        PlaceDrums(rows, "................|h...h...h...h...|K.h.h.h.K.h.h.h.|K.h.S.h.K.S.SSSS", at);
        at += 4 * kBar;
    }
    // A, B and A again, the last time closing on the tonic.
    struct Section {
        const char* melody;
        const char* ending;
        const char* chords;
        const std::string* groove;
    };
    const Section sections[] = {{kMelodyA, kEndingOpen, kChordsA, &kGroove},
                                {kMelodyB, "", kChordsB, &kGrooveB},
                                {kMelodyA, kEndingClosed, kChordsAClosed, &kGroove}};
    for (const Section& s : sections) {
        const auto chords = ParseChords(s.chords, at);
        PlacePads(rows, chords, 120);
        PlaceNotes(rows, kMelodyChannel,
                   ParseMelody(std::string(s.melody) + " " + s.ending, at, 100), kLeadVoice);
        PlaceNotes(rows, kBassChannel, DrivingBass(chords), kBassVoice);
        PlaceDrums(rows, Phrase(*s.groove, true) + Phrase(*s.groove, false), at);
        at += 8 * kBar;
    }
    // Bridge: half time, the bell again, building back up to the intro.
    {
        const auto chords = ParseChords(kChordsBridge, at);
        PlacePads(rows, chords, 120);
        PlaceNotes(rows, kMelodyChannel, ParseMelody(kBridgeBells, at, 104), kBellVoice);
        PlaceNotes(rows, kBassChannel, HalfTimeBass(chords), kBassVoice);
        PlaceDrums(rows, "C.h.h.h.S.h.h.hh|K.h.h.h.S.h.h.hh|K.h.h.h.S.h.h.hh|K...S...S.S.SSSS", at);
        at += 4 * kBar;
    }
    rows.resize(static_cast<std::size_t>(at));
    return rows;
}
} // namespace

std::vector<std::uint8_t> TitleModule() {
    ModSong song;
    song.title = "Kelvane";
    song.samples = Samples();
    SetPatterns(song, Score());
    return EncodeMod(song);
}

} // namespace music
