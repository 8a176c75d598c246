// Standard MIDI files, format 1: a track list of timed events and the file bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

struct MidiEvent {
    std::uint32_t tick = 0;
    std::vector<std::uint8_t> bytes; // status and data, or FF type length data
};

struct MidiTrack {
    std::string name;
    std::vector<MidiEvent> events;
};

void AddNote(MidiTrack& track, int channel, std::uint32_t tick, std::uint32_t length, int pitch,
             int velocity);
void AddProgram(MidiTrack& track, int channel, std::uint32_t tick, int program);
void AddControl(MidiTrack& track, int channel, std::uint32_t tick, int control, int value);
void AddTempo(MidiTrack& track, std::uint32_t tick, double beatsPerMinute);
void AddTimeSignature(MidiTrack& track, std::uint32_t tick, int numerator, int denominator);
void AddKeySignature(MidiTrack& track, std::uint32_t tick, int sharps, bool minor);
void AddText(MidiTrack& track, std::uint32_t tick, int type, const std::string& text);

// The file bytes of a format-1 file with `division` ticks per quarter note.
// Each track gets its name first and its end-of-track event last; events of
// one tick keep their order, except that note-offs come before note-ons so
// that a repeated pitch is released before it sounds again.
std::vector<std::uint8_t> EncodeMidi(const std::vector<MidiTrack>& tracks, int division);

} // namespace music
