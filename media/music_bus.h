// The music side of the mixer: one slot per music device (the module
// player, the MIDI sequencer, CD audio), each holding the stream it plays
// with its own gain. The mixer pulls the sum like any other source, on the
// device's thread, so every operation takes the bus's lock.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "media/mixer.h"

// A piece of music decoded on demand at the device rate (44100 Hz stereo).
class MusicStream {
  public:
    virtual ~MusicStream() = default;
    // Writes up to `frames` stereo frames of samples in -1..1; fewer only at
    // the end of the music, none once it has ended.
    virtual int Read(float* stereo, int frames) = 0;
};

enum class MusicSlot { Module, Sequencer, CdAudio };
constexpr int kMusicSlotCount = 3;

class MusicBus : public AudioSource {
  public:
    // The slot plays `stream` from its start, replacing what it played.
    void Play(MusicSlot slot, std::unique_ptr<MusicStream> stream);
    // The slot plays nothing (its stream is dropped).
    void Stop(MusicSlot slot);
    // Gain of the slot, 0 (silent) to 1; kept across plays.
    void SetGain(MusicSlot slot, float gain);
    // A stream is in the slot and has not reached its end.
    bool Playing(MusicSlot slot) const;
    // Frames the slot's stream has given since it started.
    std::int64_t FramesPlayed(MusicSlot slot) const;

    void Render(float* stereo, int frames) override;

  private:
    struct Slot {
        std::unique_ptr<MusicStream> stream;
        float gain = 1.0f;
        bool ended = false;
        std::int64_t frames = 0;
    };
    Slot& at(MusicSlot slot) { return slots_[static_cast<int>(slot)]; }
    const Slot& at(MusicSlot slot) const { return slots_[static_cast<int>(slot)]; }

    mutable std::mutex lock_;
    std::array<Slot, kMusicSlotCount> slots_;
    std::vector<float> scratch_;
};

// The one bus of the program; the music library puts it into the mixer.
const std::shared_ptr<MusicBus>& TheMusicBus();
