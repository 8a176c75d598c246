#include "shell/sounds.h"

#include "engine/sound_camera.h"
#include "media/audio_capture.h"
#include "media/sound_output.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/shell_state.h"

namespace {

TSoundBuffer* choiceSound = nullptr;
TSoundBuffer* clickSound = nullptr;
TSoundBuffer* timerSound = nullptr;

// Whether this run records its audio (--record-audio) instead of playing it.
bool capturing = false;

void loadInterfaceSound(const char* file, TSoundBuffer*& sound) {
    const Loaded<> loaded = LoadSound(file, sound);
    if (!loaded) ShowMessageBox(loaded.error);
}

} // namespace

void StartSoundOutput() {
    capturing = !CurrentAutomation().recordAudioFile.empty();
    BeginAudioCapture();
    CreateSoundOutput(capturing ? SoundOutputKind::Capture : SoundOutputKind::Device);
    gameServices.playSound = [](std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                                std::int32_t loudness) {
        TriggerEffect(x, y, z, HearingCamera(), sound, loudness);
    };
    gameServices.playInterfaceSound = PlayGameInterfaceSound;
}

void LoadInterfaceSounds() {
    loadInterfaceSound(kChoiceSoundFile, choiceSound);
    loadInterfaceSound(kClickSoundFile, clickSound);
    loadInterfaceSound(kTimerSoundFile, timerSound);
}

void PlayChoiceSound() {
    PlayInterfaceSoundBuffer(choiceSound, false);
}

void PlayClickSound() {
    PlayInterfaceSoundBuffer(clickSound, false);
}

void PlayCountdownSound() {
    PlayInterfaceSoundBuffer(timerSound, false);
}

void PlayGameInterfaceSound(InterfaceSound sound) {
    switch (sound) {
    case InterfaceSound::MenuSelect:
        PlayChoiceSound();
        break;
    case InterfaceSound::MenuMove:
        PlayClickSound();
        break;
    case InterfaceSound::Countdown:
        PlayCountdownSound();
        break;
    }
}

void CaptureFrameSound() {
    if (capturing) CaptureAudioFrame();
}
