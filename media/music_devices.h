// The music's devices besides the module library and wave buffers: the MIDI
// sequencer, CD audio over the data set's track files (CDAUDIO/TRACK<n>.*)
// and the video clip player, each playing through the installed decoders.
// Every call writes the command it stands for into the music's command log,
// worded as the media control interface's command strings ("play zique",
// "status cdaudio mode"); the state dump shows the log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/music_decoders.h"

constexpr std::size_t kMusicCommandsKept = 8;

// The last commands, oldest first.
std::vector<std::string> RecentMusicCommands();
void LogMusicCommand(std::string command);
void ClearMusicCommands();

// The MIDI sequencer (alias "zique").
class MidiPlayer {
  public:
    // "open <file> alias zique": reads a MIDI file of the data folder and
    // measures its length. False, with nothing changed, when one is open
    // already or the file is outside the data folder, missing or no MIDI file.
    bool Open(const std::string& file);
    // "play zique": plays the file from its start. False when nothing is open
    // or it cannot be played (no synthesizer, a file of no length); position
    // and length are then unknown until a play succeeds.
    bool Play();
    // "status zique position" and "status zique length", in milliseconds;
    // nothing when no file is open or its play failed.
    std::optional<std::int64_t> PositionMs() const;
    std::optional<std::int64_t> LengthMs() const;
    // "stop zique", "close zique".
    void Stop();
    void Close();

  private:
    bool known() const { return open_ && !playFailed_; }
    bool open_ = false;
    bool playFailed_ = false;
    std::vector<std::uint8_t> midi_;
    std::int64_t lengthMs_ = 0;
};

enum class CdMode { Closed, NotReady, Playing, Stopped };

// CD audio (device "cdaudio"), its tracks numbered as the track files are.
class CdPlayer {
  public:
    // "open cdaudio", "set cdaudio time format tmsf": finds the track files.
    // False when the drive is open already (its tracks are not looked for again).
    bool Open();
    // "status cdaudio number of tracks": the highest track number, 0 without
    // tracks; nothing while the drive is closed.
    std::optional<std::int32_t> HighestTrack() const;
    // "play cdaudio from <from>[ to <to>]": the tracks from `from` up to, not
    // including, `to` (to the last without it), one after the other. False
    // when `from` has no track or none can be decoded: the mode is then
    // "not ready" until a play succeeds.
    bool Play(std::int32_t from, std::optional<std::int64_t> to);
    // "status cdaudio mode".
    CdMode Mode() const;
    // "stop cdaudio", "close cdaudio".
    void Stop();
    void Close();

  private:
    bool open_ = false;
    bool playFailed_ = false;
    std::map<std::int32_t, std::string> tracks_; // track number -> resolved file
};

// The video clip over the window (alias "VidClip"), timed by the game's clock.
class ClipPlayer {
  public:
    // "Open <file> alias VidClip": a video of the data folder. False, with
    // nothing changed, when a clip is open already or the file is outside
    // the data folder, missing or cannot be decoded; when its pictures are
    // too large to decode, Refusal() then says so, naming the file.
    bool Open(const std::string& file);
    const std::string& Refusal() const { return refusal_; }
    // The open clip's own picture size and its decoder's (0 x 0 when none).
    ClipSize SourceSize() const;
    ClipSize DecodedSize() const;
    // "Window Vidclip handle <window>", "put Vidclip destination at 0 0 <w> <h>":
    // where the clip is to be shown, for the record; the program presents
    // its pictures itself.
    void Place(std::uint64_t window, int width, int height);
    // "Play Vidclip notify fullscreen|window": plays from the start and gives
    // one end notice when the clip's length has passed.
    void Play(bool fullScreen);
    // True once when the clip has reached its end since it was played.
    bool TakeEndNotice();
    // The picture shown now (the last one once the clip ended); null when no
    // clip is open.
    const VideoPicture* Picture();
    // "Close Vidclip".
    void Close();

  private:
    void advance();
    std::unique_ptr<VideoStream> video_;
    std::int64_t lengthMs_ = 0;
    bool playing_ = false;
    bool endNotice_ = false;
    std::int32_t startTick_ = 0;
    std::int64_t shownMs_ = 0;
    std::string refusal_;
};
