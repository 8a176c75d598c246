#include "media/music_bus.h"

void MusicBus::Play(MusicSlot slot, std::unique_ptr<MusicStream> stream) {
    std::unique_ptr<MusicStream> old;
    {
        std::lock_guard guard(lock_);
        Slot& s = at(slot);
        old = std::move(s.stream);
        s.stream = std::move(stream);
        s.ended = false;
        s.frames = 0;
    }
    // The old decoder is freed outside the lock, so that the device's pull
    // never waits for it.
}

void MusicBus::Stop(MusicSlot slot) {
    Play(slot, nullptr);
}

void MusicBus::SetGain(MusicSlot slot, float gain) {
    std::lock_guard guard(lock_);
    at(slot).gain = gain;
}

bool MusicBus::Playing(MusicSlot slot) const {
    std::lock_guard guard(lock_);
    const Slot& s = at(slot);
    return s.stream && !s.ended;
}

std::int64_t MusicBus::FramesPlayed(MusicSlot slot) const {
    std::lock_guard guard(lock_);
    return at(slot).frames;
}

void MusicBus::Render(float* stereo, int frames) {
    std::lock_guard guard(lock_);
    for (Slot& s : slots_) {
        if (!s.stream || s.ended) continue;
        scratch_.assign(static_cast<std::size_t>(frames) * 2, 0.0f);
        const int got = s.stream->Read(scratch_.data(), frames);
        if (got < frames) s.ended = true;
        if (got <= 0) continue;
        s.frames += got;
        for (std::size_t i = 0; i < static_cast<std::size_t>(got) * 2; ++i)
            stereo[i] += scratch_[i] * s.gain;
    }
}

const std::shared_ptr<MusicBus>& TheMusicBus() {
    static const std::shared_ptr<MusicBus> bus = std::make_shared<MusicBus>();
    return bus;
}
