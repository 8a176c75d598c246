#include "shell/music.h"

#include "media/music_player.h"
#include "platform/message_box.h"
#include "shell/display_options.h"
#include "shell/form_services.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"

void StartGameMusicLibrary() {
    MusicServices services;
    services.restartGameClock = ResetFrameClock;
    services.clipStarting = [] {
        const bool wasFullScreen = IsFullScreen();
        if (wasFullScreen) GoWindowed();
        shellState.ExclusiveMode = false;
        return wasFullScreen;
    };
    services.clipClosed = [](bool wasFullScreen) {
        if (wasFullScreen) {
            GoFullScreen();
            shellState.ExclusiveMode = true;
        }
        SetPictureSize(CurrentPictureSize());
        ResetFrameClock();
    };
    services.clipPlayingChanged = [](bool playing) { shellState.VideoPlaying = playing; };
    services.clientWidth = FormClientWidth;
    services.clientHeight = FormClientHeight;
    services.windowHandle = FormWindowHandle;
    services.showMessage = ShowMessageBox;
    InstallMusicServices(std::move(services));
    StartMusicLibrary();
}

void ServiceVideoClip() {
    if (!shellState.VideoPlaying) return;
    if (TakeClipEndNotice()) {
        CloseClip();
        return;
    }
    if (const VideoPicture* picture = CurrentClipPicture()) PresentVideoPicture(*picture);
}
