// Which player a music file name goes to, tested in this order: a module
// (ends in "MOD" or ".XM"), a MIDI file (ends in "MID"), a CD track
// ("CDAUDIO_" and the track number), otherwise a wave file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class MusicKind { None, Module, Midi, Cd, Wave };

MusicKind MusicKindOf(std::string_view fileName);

// The dump's word for a kind: "none", "module", "midi", "cd", "wave".
const char* MusicKindName(MusicKind kind);

// The CD track of a CD name: the characters after "CDAUDIO_", when they are
// all digits and the number fits an int32.
std::optional<std::int32_t> CdTrackNumber(std::string_view fileName);

// True for a non-empty text of the digits 0-9 only (MCI replies, track texts).
bool AllDigits(std::string_view text);
