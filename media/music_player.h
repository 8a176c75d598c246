// Music: one piece at a time from the music list, played by the module
// library (media/midas.h), the MIDI sequencer or CD audio
// (media/music_devices.h), or as a wave sound buffer; a video clip over the
// window when the entry names one. The game starts music on its title and end screens
// and in music zones, polls it every frame to restart looping music, and
// mutes or restores it with its music key.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/music_decoders.h"
#include "media/music_kind.h"

// What the music asks of the program around it.
struct MusicServices {
    // After a start: the time spent loading is not game time.
    std::function<void()> restartGameClock;
    // A clip starts: leave full screen (answering whether it was on) and stop
    // running frames back to back.
    std::function<bool()> clipStarting;
    // A clip closed: back to full screen when it was on, frame buffer made
    // again, game clock restarted.
    std::function<void(bool wasFullScreen)> clipClosed;
    // The clip-playing flag changed (set after a clip started, cleared when closed).
    std::function<void(bool playing)> clipPlayingChanged;
    std::function<int()> clientWidth, clientHeight;
    std::function<std::uint64_t()> windowHandle;
    // Tells the user why a clip is not played (once per file).
    std::function<void(const std::string& text)> showMessage;
};
void InstallMusicServices(MusicServices services);

// The module library's start-up; the music side of the mixer joins the
// sound output. Once at program start.
void StartMusicLibrary();
void ShutdownMusicLibrary();

// Stops what plays, then plays entry `index` (nothing for an empty entry or
// an index outside the list).
void StartMusic(std::int32_t index);
void StopMusic();
// Once a frame: restarts a looping MIDI or CD music that has ended.
void PollMusic();
// The music key: 63 on, 0 off. Sets the module's volume and mutes or
// restores the MIDI, CD and wave music alike.
void SetMusicVolume(int volume);
// The player stands in a music zone: its music starts unless it is the
// current one.
void EnterMusicZone(std::int32_t music);
// Ends a clip that plays.
void CloseClip();
// True once when the clip has reached its end (the program then closes it).
bool TakeClipEndNotice();
// The clip's picture to show now; null when no clip is open.
const VideoPicture* CurrentClipPicture();

// The player's state, for the state dump.
struct MusicState {
    std::int32_t index = -1;
    MusicKind kind = MusicKind::None;
    bool loop = false;
    bool enabled = true;
    int moduleVolume = 63;
    bool libraryReady = false;
    bool clipPlaying = false;
    // The last clip opened: its own size, its decoder's, the picture shown.
    ClipSize clipSource, clipDecoded, clipPicture;
    std::int32_t clipsRefused = 0; // opens refused for the pictures' size
};
MusicState CurrentMusicState();

// Back to the state at program start (tests).
void ResetMusicPlayer();
