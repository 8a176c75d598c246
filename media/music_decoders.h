// The decoders behind the music devices: modules, MIDI files, audio files
// (CD tracks and compressed music) and video clips. The window-system layers
// over the libraries install them at start-up (backends/openmpt,
// backends/fluidsynth, backends/ffmpeg); without one, that kind of music is
// silent and its device refuses to open or play.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/music_bus.h"
#include "platform/loaded.h"

// The largest picture the game shows (its largest picture size): a clip's
// pictures are scaled down to fit within it, keeping their shape.
constexpr int kMaxClipPictureWidth = 1600;
constexpr int kMaxClipPictureHeight = 1200;
// The most pixels a decoder may hold for one of a clip's pictures before
// they are scaled (a 3840 x 2160 picture). A clip that does not decode
// within it, even at the smallest size its decoder can decode to, is
// refused.
constexpr std::int64_t kMaxClipDecodePixels = 3840 * 2160;
// A side longer than this (the longest a JPEG picture can have) is refused
// at once.
constexpr int kMaxClipSide = 65535;

struct ClipSize {
    int width = 0, height = 0;
};

// One picture of a clip: RGB triples, rows top first.
struct VideoPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

// A video clip decoded forward in time.
class VideoStream {
  public:
    virtual ~VideoStream() = default;
    // Playing time in milliseconds.
    virtual std::int64_t LengthMs() const = 0;
    // The picture shown at `ms` from the start (the last one at or before
    // it); null before the first. Times only move forward.
    virtual const VideoPicture* PictureAt(std::int64_t ms) = 0;
    // The clip's own picture size, and the size its decoder decodes to
    // (smaller for a clip larger than the largest picture); 0 x 0 unknown.
    virtual ClipSize SourceSize() const { return {}; }
    virtual ClipSize DecodedSize() const { return {}; }
};

struct MusicDecoders {
    // A module from its file's bytes, looping for ever or played once; null
    // when the bytes are not a module.
    std::function<std::unique_ptr<MusicStream>(const std::vector<std::uint8_t>& file, bool loop)>
        module;
    // A MIDI file from its bytes, played once (then silence for ever); null
    // when it cannot be played (no soundfont, a malformed file).
    std::function<std::unique_ptr<MusicStream>(const std::vector<std::uint8_t>& file)> midi;
    // An audio file at a resolved path, played once; null when unreadable.
    std::function<std::unique_ptr<MusicStream>(const std::string& path)> audioFile;
    // A video clip at a resolved path, its pictures within the largest
    // picture; a failure when unreadable (no text) or refused for its size
    // (the reason: "its pictures are ...").
    std::function<Loaded<std::unique_ptr<VideoStream>>(const std::string& path)> video;
};

void InstallMusicDecoders(MusicDecoders decoders);
const MusicDecoders& InstalledMusicDecoders();
