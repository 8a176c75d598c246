// The score notation and the module and MIDI writers.
#include <gtest/gtest.h>

#include "music_midi.h"
#include "music_mod.h"
#include "music_samples.h"
#include "music_score.h"

using namespace music;

namespace {

TEST(AudioScore, PitchNames) {
    EXPECT_EQ(ParsePitch("C4"), 60);
    EXPECT_EQ(ParsePitch("A4"), 69);
    EXPECT_EQ(ParsePitch("F#5"), 78);
    EXPECT_EQ(ParsePitch("Bb3"), 58);
    EXPECT_EQ(ParsePitch("Cb4"), 59); // the B below C4
    EXPECT_EQ(ParsePitch("B#3"), 60); // the C above B3
    for (const char* bad : {"H4", "C", "C#", "c4", "C44", ""})
        EXPECT_THROW(ParsePitch(bad), std::invalid_argument) << bad;
}

TEST(AudioScore, MelodiesAdvanceByLengthsAndCheckBarLines) {
    const auto notes = ParseMelody("E5:4! r:4 C5:8 | G4:16 |", 32, 90);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].step, 32);
    EXPECT_EQ(notes[0].velocity, 108); // accented
    EXPECT_EQ(notes[1].step, 40);      // after the rest
    EXPECT_EQ(notes[1].length, 8);
    EXPECT_EQ(notes[2].step, 48);
    EXPECT_EQ(EndStep(notes), 64);
    // A bar that doesn't add up is a composition error, caught at generation.
    EXPECT_THROW(ParseMelody("E5:4 C5:8 | G4:16", 0, 90), std::invalid_argument);
    EXPECT_THROW(ParseMelody("E5", 0, 90), std::invalid_argument);
    EXPECT_THROW(ParseMelody("E5:0", 0, 90), std::invalid_argument);
}

TEST(AudioScore, ChordSymbols) {
    const auto chords = ParseChords("Am F#7:8 Dmaj7:8 | Bbsus4", 16);
    ASSERT_EQ(chords.size(), 4u);
    EXPECT_EQ(chords[0].root, 9);
    EXPECT_TRUE(chords[0].minor());
    EXPECT_EQ(chords[1].root, 6);
    EXPECT_EQ(chords[1].intervals, (std::vector<int>{0, 4, 7, 10}));
    EXPECT_FALSE(chords[1].minor());
    EXPECT_EQ(chords[2].step, 16 + 16 + 8);
    EXPECT_EQ(chords[3].root, 10);
    EXPECT_EQ(chords[3].step, 48);
    EXPECT_THROW(ParseChords("Cx", 0), std::invalid_argument);
    EXPECT_THROW(ParseChords("C:8 |", 0), std::invalid_argument);
}

ModSong TinySong() {
    ModSong song;
    song.title = "test";
    ModSample s;
    s.name = "tone";
    s.data.assign(100, 10);
    s.loopStart = 20;
    s.loopLength = 80;
    song.samples.push_back(s);
    song.patterns.resize(2);
    song.order = {0, 1, 0};
    return song;
}

TEST(AudioModule, LayoutOfHeaderPatternsAndSamples) {
    ModSong song = TinySong();
    song.samples[0].data.push_back(7); // odd: padded to whole words
    song.samples[0].data.push_back(8);
    song.samples[0].data.pop_back();
    song.patterns[1][5][2] = {24, 1, 0xC, 40};
    const auto bytes = EncodeMod(song);
    ASSERT_EQ(bytes.size(), 1084u + 2 * 1024 + 102);
    EXPECT_EQ(std::string(bytes.begin() + 1080, bytes.begin() + 1084), "M.K.");
    EXPECT_EQ(bytes[20 + 22], 0); // length in words, big-endian
    EXPECT_EQ(bytes[20 + 23], 51);
    EXPECT_EQ(bytes[20 + 27], 10); // loop start in words
    EXPECT_EQ(bytes[20 + 29], 40); // loop length in words
    // An empty sample slot still says "one word of loop": play once.
    EXPECT_EQ(bytes[20 + 30 + 29], 1);
    EXPECT_EQ(bytes[950], 3); // orders
    EXPECT_EQ(bytes[952 + 1], 1);
    const std::size_t cell = 1084 + 1024 + 5 * 16 + 2 * 4;
    EXPECT_EQ(bytes[cell], 0x00);     // sample high nibble, period high bits
    EXPECT_EQ(bytes[cell + 1], 214);  // C-3
    EXPECT_EQ(bytes[cell + 2], 0x1C); // sample 1, effect C
    EXPECT_EQ(bytes[cell + 3], 40);
}

TEST(AudioModule, RefusesWhatTheFormatCannotHold) {
    ModSong song = TinySong();
    song.samples[0].loopLength = 90; // runs past the data
    EXPECT_THROW(EncodeMod(song), std::invalid_argument);
    song = TinySong();
    song.samples[0].loopStart = 21; // not on a word
    EXPECT_THROW(EncodeMod(song), std::invalid_argument);
    song = TinySong();
    song.order.push_back(2); // no pattern 2
    EXPECT_THROW(EncodeMod(song), std::invalid_argument);
    song = TinySong();
    song.samples.resize(32);
    EXPECT_THROW(EncodeMod(song), std::invalid_argument);
    song = TinySong();
    song.patterns[0][0][0].note = 36;
    EXPECT_THROW(EncodeMod(song), std::invalid_argument);
}

TEST(AudioModule, NotesBecomeCellsWithReleasesOnlyInFreeRows) {
    std::vector<ModRow> rows;
    const ModInstrument lead{3, 48, 1.0, {0x08, 0x0F}, 0, 0x62};
    PlaceNotes(rows, 1, ParseMelody("C5:8 r:2 E5:2 G5:4", 0, 127), lead);
    ASSERT_GE(rows.size(), 16u);
    EXPECT_EQ(rows[0][1].note, 24);
    EXPECT_EQ(rows[0][1].sample, 3);
    EXPECT_EQ(rows[0][1].effect, 0xC);
    EXPECT_EQ(rows[0][1].param, 64);
    EXPECT_EQ(rows[3][1].effect, 0x4); // vibrato on the long note's later rows
    EXPECT_EQ(rows[8][1].effect, 0xA); // released after it ends ...
    EXPECT_EQ(rows[9][1].param, 0x0F);
    EXPECT_EQ(rows[10][1].note, 28); // ... and the next note keeps its own cell
    EXPECT_EQ(rows[10][1].effect, 0xC);
    EXPECT_EQ(rows[11][1].effect, 0); // no release between touching notes
    EXPECT_EQ(rows[0][0].note, -1);   // other channels untouched
    EXPECT_THROW(PlaceNotes(rows, 1, ParseMelody("D5:2", 0, 100), lead), std::invalid_argument);
    EXPECT_THROW(PlaceNotes(rows, 2, ParseMelody("B2:2", 0, 100), lead), std::invalid_argument);
}

TEST(AudioModule, IdenticalPatternsAreStoredOnce) {
    std::vector<ModRow> rows(3 * kModRows);
    rows[0][0] = {12, 1, 0, 0};
    rows[2 * kModRows][0] = {12, 1, 0, 0};
    rows[kModRows + 1][3] = {0, 2, 0, 0};
    ModSong song;
    SetPatterns(song, rows);
    EXPECT_EQ(song.patterns.size(), 2u);
    EXPECT_EQ(song.order, (std::vector<int>{0, 1, 0}));
    EXPECT_THROW(SetPatterns(song, std::vector<ModRow>(70)), std::invalid_argument);
}

TEST(AudioModule, SamplesAreFullRangeWithLoopsOnWords) {
    synth::Signal tone(1000);
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = 0.1 * synth::Sin01(i / 50.0);
    const ModSample looped = MakeModSample("t", tone, 200, 800, 1);
    EXPECT_EQ(looped.loopStart, 200u);
    EXPECT_EQ(looped.data.size(), 1000u);
    EXPECT_GE(*std::max_element(looped.data.begin(), looped.data.end()), 118);
    EXPECT_THROW(MakeModSample("t", tone, 201, 798, 1), std::invalid_argument);
    const ModSample once = MakeModSample("t", tone, 0, 0, 1);
    ASSERT_EQ(once.data.size(), 1002u);
    EXPECT_EQ(once.data[0], 0); // the word players repeat after the end
    EXPECT_EQ(once.data[1], 0);
    EXPECT_EQ(LoopFor(440, 10, 22050) % 2, 0u);
}

TEST(AudioMidi, ChunksVariableLengthsAndEventOrder) {
    MidiTrack track{"t", {}};
    AddNote(track, 0, 0, 480, 60, 100);
    AddNote(track, 0, 480, 0x0FFFFFFF - 480, 60, 90); // same pitch again at the first one's end
    const auto bytes = EncodeMidi({track}, 480);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "MThd");
    EXPECT_EQ(bytes[9], 1);  // format 1
    EXPECT_EQ(bytes[11], 1); // one track
    EXPECT_EQ(bytes[12] << 8 | bytes[13], 480);
    EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 18), "MTrk");
    const std::uint32_t length = bytes[18] << 24 | bytes[19] << 16 | bytes[20] << 8 | bytes[21];
    ASSERT_EQ(bytes.size(), 22 + length);
    const std::vector<std::uint8_t> body(bytes.begin() + 22, bytes.end());
    const std::vector<std::uint8_t> expected{
        0x00, 0xFF, 0x03, 0x01, 't',          // name
        0x00, 0x90, 60,   100,                // on
        0x83, 0x60, 0x80, 60,   64,           // off at 480 comes before ...
        0x00, 0x90, 60,   90,                 // ... the next on at 480
        0xFF, 0xFF, 0xFC, 0x1F, 0x80, 60, 64, // a delta of 0x0FFFFE1F in four bytes
        0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(body, expected);
    EXPECT_THROW(AddNote(track, 16, 0, 1, 60, 100), std::invalid_argument);
    EXPECT_THROW(AddNote(track, 0, 0, 1, 128, 100), std::invalid_argument);
}

} // namespace
