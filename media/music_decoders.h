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
    // A video clip at a resolved path; null when unreadable.
    std::function<std::unique_ptr<VideoStream>(const std::string& path)> video;
};

void InstallMusicDecoders(MusicDecoders decoders);
const MusicDecoders& InstalledMusicDecoders();
