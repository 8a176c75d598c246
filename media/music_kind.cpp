#include "media/music_kind.h"

#include <charconv>

#include "platform/text_case.h"

namespace {
constexpr std::string_view kCdPrefix = "CDAUDIO_";
} // namespace

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

MusicKind MusicKindOf(std::string_view fileName) {
    if (EndsWithNoCase(fileName, "MOD") || EndsWithNoCase(fileName, ".XM"))
        return MusicKind::Module;
    if (EndsWithNoCase(fileName, "MID")) return MusicKind::Midi;
    // "CDAUDIO_" and at least one character of track: "CDAUDIO_7" is track 7.
    if (fileName.size() > kCdPrefix.size() &&
        EqualNoCase(fileName.substr(0, kCdPrefix.size()), kCdPrefix))
        return MusicKind::Cd;
    return MusicKind::Wave;
}

const char* MusicKindName(MusicKind kind) {
    switch (kind) {
    case MusicKind::Module:
        return "module";
    case MusicKind::Midi:
        return "midi";
    case MusicKind::Cd:
        return "cd";
    case MusicKind::Wave:
        return "wave";
    case MusicKind::None:
        break;
    }
    return "none";
}

std::optional<std::int32_t> CdTrackNumber(std::string_view fileName) {
    if (MusicKindOf(fileName) != MusicKind::Cd) return std::nullopt;
    const std::string_view track = fileName.substr(kCdPrefix.size());
    if (!AllDigits(track)) return std::nullopt;
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(track.data(), track.data() + track.size(), number);
    if (error != std::errc() || end != track.data() + track.size()) return std::nullopt;
    return number;
}
