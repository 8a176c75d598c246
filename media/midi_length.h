// The playing time of a standard MIDI file, from its tempo map: what the
// sequencer answers for "status ... length" (milliseconds). Its own reader, so
// that the length is known without any synthesizer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Milliseconds from the start to the last event of the longest track; nothing
// when the bytes are not a well-formed MIDI file (a missing header, a chunk
// or event running past its end, a zero time division).
std::optional<std::int64_t> MidiLengthMs(std::span<const std::uint8_t> file);
