// The sound output: one mixer, the device that pulls from it (or the audio
// capture, which pulls instead), the sound buffers and 256 positional voices.
// While the output is not ready (no device, or not created yet) every
// operation does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/audio_device.h"
#include "media/mixer.h"
#include "media/sound_position.h"
#include "platform/loaded.h"

class TSoundBuffer;

// The output device: the mixer and, unless the run captures its sound, the
// device that plays it.
class TAudio {
  public:
    Mixer mixer;
    std::unique_ptr<AudioDevice> device;
};

// A positional voice: where its effect sounds and how loud.
struct Voice {
    const TSoundBuffer* sound = nullptr; // whose duplicate it plays
    std::int32_t x = 0, y = 0, z = 0;
    std::int32_t loudness = 0;
    VolumePan level; // as last computed
};

enum class SoundOutputKind {
    Device,  // the installed device opener's default device
    Capture, // no device: the mixer is pulled by PullSound alone
};

// Once per run: makes the mixer and its 256 voices and opens the output.
// Ready when the device opened (or for a capture). A second call does nothing.
void CreateSoundOutput(SoundOutputKind kind);
bool SoundOutputReady();
// Closes the device (no more pulls) and leaves the output not ready, so that
// it can be created again; for the end of the program, before the window
// system shuts its audio down. Sound buffers already made stay valid.
void CloseSoundOutput();

// When ready: frees the sound `sound` holds, then holds a new one made from
// the file (a name outside the data folder or a missing file makes a silent
// sound). A malformed header fails with the wave reader's text and leaves
// `sound` empty.
Loaded<> LoadSound(const std::string& fileName, TSoundBuffer*& sound);

// Plays the sound itself, once or looping, at its own volume and centred.
void PlayInterfaceSoundBuffer(TSoundBuffer* sound, bool loop);

// Plays a duplicate of the sound on the lowest voice that is not playing (the
// last voice, stopped first, when all are) at a world point with loudness
// 0..255. Returns the voice's number, or -1 when nothing started.
int TriggerEffect(std::int32_t x, std::int32_t y, std::int32_t z, const SoundCamera& camera,
                  TSoundBuffer* sound, std::int32_t loudness);
// Takes a second request for the sound voice `index` plays into that voice:
// it keeps its place and becomes as loud as the louder of the two. False
// (and nothing changed) when the voice no longer plays that sound.
bool MergeIntoVoice(int index, const TSoundBuffer* sound, std::int32_t loudness,
                    const SoundCamera& camera);
// Volume and pan of every playing voice for the camera; once a frame.
void UpdateVoices(const SoundCamera& camera);
// Stops every playing voice; sounds playing themselves go on.
void StopVoices();

// The voices playing now, with their numbers.
struct PlayingVoice {
    int index = 0;
    Voice voice;
};
std::vector<PlayingVoice> PlayingVoices();

// Voices TriggerEffect has started since the program began.
std::int64_t VoicesStarted();
// Stereo frames the master bus's limiter has turned down since the program
// began (only mixed sound counts: a run that only listens has none).
std::int64_t LimitedSoundFrames();

// The player's music and effects volumes in percent: the gains of the
// mixer's music and effects buses. Both 100 at the start.
struct MixVolumes {
    int music = 100;
    int effects = 100;
};
// Cuts each to 0..100 and applies them at once, ready or not.
void SetMixVolumes(MixVolumes volumes);
MixVolumes CurrentMixVolumes();

// The mixer, for the music players; null while not ready.
Mixer* SoundMixer();

// Mixes the next `frames` stereo frames into `out` (the capture's pull);
// silence while not ready.
void PullSound(std::int16_t* out, int frames);
// Moves the voices and the music on by `frames` stereo frames without
// mixing them (a run that only listens).
void SkipSound(int frames);
