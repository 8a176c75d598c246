// ProTracker modules ("M.K.", 4 channels, 31 samples): the song's data and
// its file bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "music_score.h"

namespace music {

constexpr int kModChannels = 4;
constexpr int kModRows = 64;
constexpr int kModSamples = 31;

struct ModSample {
    std::string name;              // up to 22 characters
    std::vector<std::int8_t> data; // signed 8-bit; padded to an even length
    int volume = 64;               // 0..64
    int finetune = 0;              // -8..7
    std::size_t loopStart = 0;     // bytes; with loopLength 0 the sample plays once
    std::size_t loopLength = 0;
};

struct ModCell {
    int note = -1;  // -1 none, else 0..35 = C-1..B-3
    int sample = 0; // 0 none, 1..31
    int effect = 0; // 0..15
    int param = 0;  // 0..255
};

using ModRow = std::array<ModCell, kModChannels>;
using ModPattern = std::array<ModRow, kModRows>;

struct ModSong {
    std::string title;              // up to 20 characters
    std::vector<ModSample> samples; // up to 31; the rest are written empty
    std::vector<ModPattern> patterns;
    std::vector<int> order; // 1..128 pattern numbers
};

// The Amiga period of a module note (0 = C-1 .. 35 = B-3), finetune 0.
int ModPeriod(int note);
// The playback rate of a sample at a period, in samples per second (PAL).
double ModRate(int period);

// The file bytes. Throws std::invalid_argument for a song the format can't
// hold (too many samples or orders, a sample over 128 KiB, a loop outside its
// sample, an order naming a missing pattern, an out-of-range cell).
std::vector<std::uint8_t> EncodeMod(const ModSong& song);

// How notes of a score become cells of one channel.
struct ModInstrument {
    int sample = 1;           // 1..31
    int lowestPitch = 48;     // the MIDI pitch that note C-1 plays on this sample
    double gain = 1;          // velocity 127 sets volume 64 x gain
    std::vector<int> release; // volume slide-down speeds on the free rows after a note
    int decay = 0;            // slide-down speed on a note's second row (0: none)
    int vibrato = 0;          // 4xy on the later rows of notes of 6 rows or more
};

// Writes `notes` (one row per step) into `channel` of `rows`, growing them.
// Throws std::invalid_argument when a note is out of the sample's range or
// lands on a cell that already holds one.
void PlaceNotes(std::vector<ModRow>& rows, int channel, const std::vector<Note>& notes,
                const ModInstrument& instrument);

// Cuts `rows` (a multiple of 64) into patterns, storing identical ones once,
// and sets the order table to play them in sequence.
void SetPatterns(ModSong& song, const std::vector<ModRow>& rows);

} // namespace music
