// The mixer: channels of 16-bit samples at the device rate, each with its own
// gain per side, and one music source, summed into 16-bit stereo frames on
// demand. The device's callback and the audio capture pull from it alike, so
// a capture hears exactly what a device would. Every operation takes the
// mixer's lock: the device pulls on its own thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "media/pcm_convert.h"
#include "media/soft_limiter.h"

// Channels 0..255 are the positional voices; channels a sound buffer plays
// on itself (interface sounds, wave music) are reserved after them.
constexpr int kVoiceCount = 256;

// Where the music enters the mix, in hundredths of a decibel: the modules and
// tracks are made near full scale, and the effects must stand above them.
constexpr std::int32_t kMusicLevel = -600;

// The two buses the channels and the music source feed before the master
// bus: the music (the music source and channels marked as music) and the
// effects (every other channel). Each has its own gain, the player's volume.
enum class MixBus { Effects, Music };

// A volume in percent (cut to 0..100) as a bus gain: 100 % is as recorded,
// 50 % half the amplitude, 0 silence.
float BusGainForPercent(int percent);

// Gain of each side, 0 (silent) to 1 (as recorded).
struct SideGains {
    float left = 1.0f, right = 1.0f;
};

// The sound device's curves: `volume` attenuates both sides by hundredths of
// a decibel (-10000 silent .. 0 full); `pan` attenuates the other side by
// |pan| hundredths of a decibel (-10000 left only .. 10000 right only). An
// attenuation of 10000 or more is silence. Values out of range are clamped.
SideGains VolumePanGains(std::int32_t volume, std::int32_t pan);

// Music rendered on demand (modules, MIDI, compressed tracks): writes
// `frames` stereo frames of samples in -1..1 into `stereo`.
class AudioSource {
  public:
    virtual ~AudioSource() = default;
    virtual void Render(float* stereo, int frames) = 0;
};

class Mixer {
  public:
    Mixer();

    // A channel of its own for a sound buffer, until freed.
    int ReserveChannel();
    void FreeChannel(int channel);

    // Puts the samples on the channel, stopped at position 0.
    void Assign(int channel, std::shared_ptr<const SoundSamples> samples);
    // Plays from the current position; once to the end (then stopped at
    // position 0) or looping.
    void Start(int channel, bool looping);
    void Stop(int channel);
    void SetPosition(int channel, std::size_t frame);
    void SetGains(int channel, SideGains gains);
    // The bus the channel feeds (the effects' until set); reset when freed.
    void SetChannelBus(int channel, MixBus bus);
    // The bus's gain, 0 to 1 (values outside are cut); 1 at the start.
    void SetBusGain(MixBus bus, float gain);
    float BusGain(MixBus bus) const;
    bool Playing(int channel) const;

    // The music source from now on, mixed at kMusicLevel; null for none.
    void SetMusic(std::shared_ptr<AudioSource> source);

    // Mixes the next `frames` stereo frames into `out` through the master
    // bus's limiter and moves every playing channel on by as much.
    void Mix(std::int16_t* out, int frames);
    // Moves every playing channel and the music on by `frames` without
    // mixing them: channels end where Mix would end them.
    void Skip(int frames);
    // Stereo frames the master bus's limiter has changed so far.
    std::int64_t LimitedFrames() const;

  private:
    struct Channel {
        std::shared_ptr<const SoundSamples> samples;
        std::size_t position = 0;
        SideGains gains;
        bool playing = false;
        bool looping = false;
        bool reserved = false;
        MixBus bus = MixBus::Effects;
    };
    Channel* channelAt(int channel);
    // Adds the channel's next `frames` into `sum` (none when null) and moves
    // it on.
    void mixChannel(Channel& channel, float* sum, int frames);

    mutable std::mutex lock_;
    std::vector<Channel> channels_;
    std::shared_ptr<AudioSource> music_;
    float musicScale_; // from the source's -1..1 to sample units, at kMusicLevel
    float musicGain_ = 1.0f, effectsGain_ = 1.0f;
    std::vector<float> sum_, musicFrames_;
    SoftLimiter limiter_{kDeviceRate};
};
