// A small text notation for the data kit's compositions, shared by the
// module, the MIDI file and the rendered music. Time is counted in steps of a
// sixteenth note from the start of the piece; pitches are MIDI note numbers
// (60 = C4, 69 = A4).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace music {

constexpr int kStepsPerBar = 16;

struct Note {
    int step = 0;   // start
    int length = 0; // in steps
    int pitch = 0;
    int velocity = 96; // 1..127
};

// "C4" = 60, "F#5" = 78, "Bb3" = 58. Throws std::invalid_argument when malformed.
int ParsePitch(std::string_view text);

// A melody: tokens "E5:4" (pitch and length in steps), "r:4" (rest), an
// optional "!" after the length accents the note; "|" insists that a bar has
// just ended (a composition error otherwise). Notes start at `start`.
std::vector<Note> ParseMelody(std::string_view text, int start, int velocity);

// A chord with its symbol's pitch classes, root first (root in 0..11).
struct Chord {
    int step = 0;
    int length = 0;
    int root = 0;
    std::vector<int> intervals; // semitones above the root, 0 first
    bool minor() const;
};

// A chord line: "Am F C G" (a bar each) or "Am:8 E:8"; qualities "", "m", "7",
// "m7", "maj7", "sus2", "sus4", "add9", "dim", "6", "m9"; "|" as in melodies.
std::vector<Chord> ParseChords(std::string_view text, int start);

// A drum line: one character per step ('.' nothing, '|' ignored); each other
// character becomes a note with that character's code as its pitch, so the
// caller maps characters to instruments.
std::vector<Note> ParseDrums(std::string_view text, int start);

// Appends `notes` moved by `steps`.
void Append(std::vector<Note>& target, const std::vector<Note>& notes, int steps = 0);
// The end of the last note (0 when none).
int EndStep(const std::vector<Note>& notes);

// `bar` written `count` times in a row, for drum and melody lines.
std::string Repeat(const std::string& bar, int count);

} // namespace music
