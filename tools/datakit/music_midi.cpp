#include "music_midi.h"

#include <algorithm>
#include <stdexcept>

#include "platform/byte_io.h"

namespace music {

namespace {
std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

void Check(int channel, int value) {
    if (channel < 0 || channel > 15 || value < 0 || value > 127)
        throw std::invalid_argument("MIDI: channel or data byte out of range");
}

void PutVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

std::vector<std::uint8_t> Meta(int type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes{0xFF, Byte(type)};
    PutVarLength(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

bool IsNoteOff(const MidiEvent& e) {
    const int kind = e.bytes[0] & 0xF0;
    return kind == 0x80 || (kind == 0x90 && e.bytes.size() == 3 && e.bytes[2] == 0);
}
} // namespace

void AddNote(MidiTrack& track, int channel, std::uint32_t tick, std::uint32_t length, int pitch,
             int velocity) {
    Check(channel, pitch);
    Check(channel, velocity);
    if (velocity == 0 || length == 0) throw std::invalid_argument("MIDI: silent or empty note");
    track.events.push_back({tick, {Byte(0x90 | channel), Byte(pitch), Byte(velocity)}});
    track.events.push_back({tick + length, {Byte(0x80 | channel), Byte(pitch), 64}});
}

void AddProgram(MidiTrack& track, int channel, std::uint32_t tick, int program) {
    Check(channel, program);
    track.events.push_back({tick, {Byte(0xC0 | channel), Byte(program)}});
}

void AddControl(MidiTrack& track, int channel, std::uint32_t tick, int control, int value) {
    Check(channel, control);
    Check(channel, value);
    track.events.push_back({tick, {Byte(0xB0 | channel), Byte(control), Byte(value)}});
}

void AddTempo(MidiTrack& track, std::uint32_t tick, double beatsPerMinute) {
    const auto micros = static_cast<std::uint32_t>(60000000.0 / beatsPerMinute + 0.5);
    track.events.push_back(
        {tick, Meta(0x51, {Byte(static_cast<int>(micros >> 16)),
                           Byte(static_cast<int>(micros >> 8)), Byte(static_cast<int>(micros))})});
}

void AddTimeSignature(MidiTrack& track, std::uint32_t tick, int numerator, int denominator) {
    int power = 0;
    while ((1 << power) < denominator) ++power;
    track.events.push_back({tick, Meta(0x58, {Byte(numerator), Byte(power), 24, 8})});
}

void AddKeySignature(MidiTrack& track, std::uint32_t tick, int sharps, bool minor) {
    track.events.push_back({tick, Meta(0x59, {Byte(sharps), Byte(minor ? 1 : 0)})});
}

void AddText(MidiTrack& track, std::uint32_t tick, int type, const std::string& text) {
    track.events.push_back({tick, Meta(type, std::vector<std::uint8_t>(text.begin(), text.end()))});
}

std::vector<std::uint8_t> EncodeMidi(const std::vector<MidiTrack>& tracks, int division) {
    if (tracks.empty() || tracks.size() > 0xFFFF || division <= 0 || division > 0x7FFF)
        throw std::invalid_argument("MIDI: bad track count or division");
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.Text("MThd");
    out.U32Big(6);
    out.U16Big(1); // format 1: tracks played together
    out.U16Big(static_cast<std::uint16_t>(tracks.size()));
    out.U16Big(static_cast<std::uint16_t>(division));
    for (const MidiTrack& track : tracks) {
        std::vector<MidiEvent> events = track.events;
        std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
            if (a.tick != b.tick) return a.tick < b.tick;
            return IsNoteOff(a) && !IsNoteOff(b);
        });
        std::vector<std::uint8_t> body;
        PutVarLength(body, 0);
        const std::vector<std::uint8_t> name = Meta(0x03, {track.name.begin(), track.name.end()});
        body.insert(body.end(), name.begin(), name.end());
        std::uint32_t now = 0;
        for (const MidiEvent& e : events) {
            PutVarLength(body, e.tick - now);
            now = e.tick;
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        PutVarLength(body, 0);
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        out.Text("MTrk");
        out.U32Big(static_cast<std::uint32_t>(body.size()));
        out.Bytes(body);
    }
    return bytes;
}

} // namespace music
