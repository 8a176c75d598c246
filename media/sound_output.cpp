#include "media/sound_output.h"

#include <algorithm>
#include <array>

#include "media/sound_buffer.h"
#include "platform/files.h"

namespace {

AudioDeviceOpener deviceOpener;
bool created = false;
bool ready = false;
std::array<Voice, kVoiceCount> voices;
std::int64_t voicesStarted = 0;
MixVolumes mixVolumes;

// The sound buffers keep a pointer to the mixer, and the game's records may
// hold buffers until the very end, so the one TAudio is never destroyed.
TAudio& theAudio() {
    static TAudio* const instance = new TAudio;
    return *instance;
}

} // namespace

void InstallAudioDeviceOpener(AudioDeviceOpener opener) {
    deviceOpener = std::move(opener);
}

void CreateSoundOutput(SoundOutputKind kind) {
    if (created) return;
    created = true;
    voices = {};
    TAudio& audio = theAudio();
    for (int i = 0; i < kVoiceCount; ++i) audio.mixer.Stop(i);
    if (kind == SoundOutputKind::Device) {
        if (!deviceOpener) return;
        Mixer* mixer = &audio.mixer;
        audio.device =
            deviceOpener([mixer](std::int16_t* out, int frames) { mixer->Mix(out, frames); });
        if (!audio.device) return;
    }
    ready = true;
}

bool SoundOutputReady() {
    return ready;
}

void CloseSoundOutput() {
    theAudio().device.reset();
    ready = false;
    created = false;
}

Loaded<> LoadSound(const std::string& fileName, TSoundBuffer*& sound) {
    if (!ready) return LoadedDone();
    delete sound;
    sound = nullptr;
    // A voice that has ended still holds its samples; let them go, so that
    // sounds no buffer uses any more leave the sound budget.
    Mixer& mixer = theAudio().mixer;
    for (int i = 0; i < kVoiceCount; ++i)
        if (!mixer.Playing(i)) mixer.Assign(i, nullptr);
    // A name from a data file that leaves the data folder reads as missing.
    const std::string name = IsDataFileName(fileName) ? fileName : std::string();
    auto made = TSoundBuffer::Make(&theAudio().mixer, name);
    if (!made) return LoadFailure{made.error};
    sound = made->release();
    return LoadedDone();
}

void PlayInterfaceSoundBuffer(TSoundBuffer* sound, bool loop) {
    if (!ready || !sound) return;
    if (loop) {
        sound->PlayLooping();
    } else {
        sound->PlayOnce();
    }
}

int TriggerEffect(std::int32_t x, std::int32_t y, std::int32_t z, const SoundCamera& camera,
                  TSoundBuffer* sound, std::int32_t loudness) {
    if (!ready || !sound || sound->Silent()) return -1;
    Mixer& mixer = theAudio().mixer;
    int index = kVoiceCount - 1;
    for (int i = 0; i < kVoiceCount; ++i) {
        if (!mixer.Playing(i)) {
            index = i;
            break;
        }
    }
    // With every voice busy the last one's effect gives way to the new one.
    mixer.Assign(index, sound->Samples());
    Voice& voice = voices[static_cast<std::size_t>(index)];
    voice = Voice{sound, x, y, z, loudness, PositionalVolumePan(camera, x, y, z, loudness)};
    mixer.SetGains(index, VolumePanGains(voice.level.volume, voice.level.pan));
    mixer.Start(index, false);
    ++voicesStarted;
    return index;
}

bool MergeIntoVoice(int index, const TSoundBuffer* sound, std::int32_t loudness,
                    const SoundCamera& camera) {
    if (!ready || index < 0 || index >= kVoiceCount) return false;
    Mixer& mixer = theAudio().mixer;
    Voice& voice = voices[static_cast<std::size_t>(index)];
    if (!sound || voice.sound != sound || !mixer.Playing(index)) return false;
    if (loudness > voice.loudness) {
        voice.loudness = loudness;
        voice.level = PositionalVolumePan(camera, voice.x, voice.y, voice.z, loudness);
        mixer.SetGains(index, VolumePanGains(voice.level.volume, voice.level.pan));
    }
    return true;
}

void UpdateVoices(const SoundCamera& camera) {
    if (!ready) return;
    Mixer& mixer = theAudio().mixer;
    for (int i = 0; i < kVoiceCount; ++i) {
        if (!mixer.Playing(i)) continue;
        Voice& voice = voices[static_cast<std::size_t>(i)];
        voice.level = PositionalVolumePan(camera, voice.x, voice.y, voice.z, voice.loudness);
        mixer.SetGains(i, VolumePanGains(voice.level.volume, voice.level.pan));
    }
}

void StopVoices() {
    if (!ready) return;
    for (int i = 0; i < kVoiceCount; ++i) theAudio().mixer.Stop(i);
}

std::vector<PlayingVoice> PlayingVoices() {
    std::vector<PlayingVoice> playing;
    if (!ready) return playing;
    for (int i = 0; i < kVoiceCount; ++i)
        if (theAudio().mixer.Playing(i))
            playing.push_back({i, voices[static_cast<std::size_t>(i)]});
    return playing;
}

std::int64_t VoicesStarted() {
    return voicesStarted;
}

std::int64_t LimitedSoundFrames() {
    return theAudio().mixer.LimitedFrames();
}

void SetMixVolumes(MixVolumes volumes) {
    volumes.music = std::clamp(volumes.music, 0, 100);
    volumes.effects = std::clamp(volumes.effects, 0, 100);
    mixVolumes = volumes;
    Mixer& mixer = theAudio().mixer;
    mixer.SetBusGain(MixBus::Music, BusGainForPercent(volumes.music));
    mixer.SetBusGain(MixBus::Effects, BusGainForPercent(volumes.effects));
}

MixVolumes CurrentMixVolumes() {
    return mixVolumes;
}

Mixer* SoundMixer() {
    return ready ? &theAudio().mixer : nullptr;
}

void PullSound(std::int16_t* out, int frames) {
    if (frames <= 0) return;
    if (ready) {
        theAudio().mixer.Mix(out, frames);
    } else {
        std::fill(out, out + 2 * frames, std::int16_t{0});
    }
}

void SkipSound(int frames) {
    if (ready) theAudio().mixer.Skip(frames);
}
