#include "shell/sounds.h"

#include "media/audio_capture.h"
#include "media/sound_output.h"
#include "media/sound_store.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/shell_state.h"
#include "world/sound_listener.h"

namespace {

TSoundBuffer* choiceSound = nullptr;
TSoundBuffer* clickSound = nullptr;
TSoundBuffer* timerSound = nullptr;

// Whether this run moves its audio on after each frame instead of a device:
// mixed and kept for --record-audio, only moved on by a simulation that listens.
bool capturing = false;

void loadInterfaceSound(const char* file, TSoundBuffer*& sound) {
    const Loaded<> loaded = LoadSound(file, sound);
    if (!loaded) ShowMessageBox(loaded.error);
}

void startOutput(bool capture, bool keep) {
    capturing = capture;
    if (capturing) BeginAudioCapture(keep);
    CreateSoundOutput(capturing ? SoundOutputKind::Capture : SoundOutputKind::Device);
    // A sound refused for its rate or the sound budget: said once, then silent.
    SetSoundRefusalHandler(ShowMessageBox);
    SetHearingRange(kSoundHearingRange);
    gameServices.playSound = PlaySoundAtListener;
    gameServices.playInterfaceSound = PlayGameInterfaceSound;
}

} // namespace

void StartSoundOutput() {
    const bool recording = !CurrentAutomation().recordAudioFile.empty();
    startOutput(recording, true);
}

void StartListeningSoundOutput() {
    startOutput(true, false);
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
