#include "shell/sounds.h"

#include <vector>

#include "engine/sound_camera.h"
#include "media/sound_output.h"
#include "media/wave_writer.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/shell_state.h"

namespace {

TSoundBuffer* choiceSound = nullptr;
TSoundBuffer* clickSound = nullptr;
TSoundBuffer* timerSound = nullptr;

// The capture: every stereo frame pulled so far, and the tick it began at.
bool capturing = false;
std::int32_t captureStart = 0;
std::vector<std::int16_t> captured;

void loadInterfaceSound(const char* file, TSoundBuffer*& sound) {
    const Loaded<> loaded = LoadSound(file, sound);
    if (!loaded) ShowMessageBox(loaded.error);
}

} // namespace

void StartSoundOutput() {
    capturing = !CurrentAutomation().recordAudioFile.empty();
    captureStart = GetTickCount();
    captured.clear();
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
    if (!capturing) return;
    // Frames are counted from the start of the capture, so that frames of any
    // length add up to exactly the time that passed.
    const std::int64_t elapsedMs = TickDifference(captureStart, GetTickCount());
    const std::int64_t wanted = elapsedMs * kDeviceRate / 1000;
    const std::int64_t have = RecordedFrames();
    if (wanted <= have) return;
    captured.resize(static_cast<std::size_t>(wanted) * 2);
    PullSound(captured.data() + have * 2, static_cast<int>(wanted - have));
}

std::int64_t RecordedFrames() {
    return static_cast<std::int64_t>(captured.size() / 2);
}

bool WriteSoundCapture() {
    if (!capturing) return true;
    return WriteWholeFile(CurrentAutomation().recordAudioFile, EncodeStereoWave(captured));
}
