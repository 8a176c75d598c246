// A sound made from a wave file: its samples converted for the device, and a
// mixer channel of its own once it plays itself (interface sounds, wave
// music). Positional effects play duplicates on the voices instead, which
// share the samples. A silent sound (a missing file, a format that does not
// play) has no samples and every operation does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/mixer.h"
#include "media/pcm_convert.h"
#include "platform/loaded.h"

class TSoundBuffer {
  public:
    // Without a mixer, or when the file does not exist, a silent sound. A
    // malformed header is refused with the wave reader's text.
    static Loaded<std::unique_ptr<TSoundBuffer>> Make(Mixer* mixer, const std::string& fileName);
    ~TSoundBuffer(); // stops it and frees its channel
    TSoundBuffer(const TSoundBuffer&) = delete;
    TSoundBuffer& operator=(const TSoundBuffer&) = delete;

    void PlayOnce();    // stop, rewind, play to the end
    void PlayLooping(); // stop, play looping from where it is
    void Stop();
    void SetPosition(std::uint32_t bytes); // offset in the wave's own sample bytes
    // Gives the sound back its memory after a loss; the mixer never loses
    // any, so this only calls the notification.
    void Restore();
    bool Playing() const;
    // Volume in hundredths of a decibel (-10000 silent .. 0 as recorded),
    // kept across plays.
    void SetVolume(std::int32_t volume);
    // The mixer bus the sound feeds when it plays itself (the effects' until
    // set), kept across plays.
    void SetBus(MixBus bus);

    bool Silent() const { return samples_ == nullptr; }
    const std::shared_ptr<const SoundSamples>& Samples() const { return samples_; }

    std::function<void()> onRestore;
    std::uint32_t dataSize = 0; // bytes of the wave's data
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;

  private:
    explicit TSoundBuffer(Mixer* mixer) : mixer_(mixer) {}
    int ownChannel();

    Mixer* mixer_ = nullptr;
    std::shared_ptr<const SoundSamples> samples_;
    int channel_ = -1;
    std::uint32_t rate_ = 0;
    std::uint16_t blockAlign_ = 0;
    std::int32_t volume_ = 0;
    MixBus bus_ = MixBus::Effects;
};
