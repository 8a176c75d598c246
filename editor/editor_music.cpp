#include "editor/editor_music.h"

#include "editor/cell_commands.h"
#include "media/audio_capture.h"
#include "media/music_player.h"
#include "media/sound_output.h"
#include "media/sound_store.h"
#include "platform/message_box.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/sound_listener.h"

namespace {

// The level view hears as far as the game's camera, less a little.
constexpr std::int32_t kEditorHearingRange = 23040;

} // namespace

void StartEditorSound(bool capture) {
    CreateSoundOutput(capture ? SoundOutputKind::Capture : SoundOutputKind::Device);
    SetSoundRefusalHandler(ShowMessageBox);
    if (capture) BeginAudioCapture();
    SetHearingRange(kEditorHearingRange);
    // The ambient loops of the cells around the view, heard from its camera.
    gameServices.playSound = PlaySoundAtListener;
    MusicServices services;
    // Loading a piece is not editing time: the selector must not jump.
    services.restartGameClock = ResetFrameClock;
    services.showMessage = ShowMessageBox;
    InstallMusicServices(std::move(services));
    StartMusicLibrary();
}

void StopEditorSound() {
    StopMusic();
    ShutdownMusicLibrary();
    CloseSoundOutput();
}

bool PlayMusicNamed(const std::string& name) {
    const int music = MusicIndexByName(name);
    if (music < 0) return false;
    StartMusic(music);
    return true;
}
