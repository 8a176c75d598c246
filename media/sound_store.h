// The converted samples of every sound, shared: waves with the same format
// and sample bytes are converted once, however many sound buffers (one per
// player record, say) are made from them, and the samples live while any
// buffer or voice holds them. All converted samples together stay within a
// budget; a sound beyond it, or with a sample rate the game does not take,
// is refused with a notice naming it and stays silent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/pcm_convert.h"

class TIWave;

constexpr std::uint64_t kDefaultSoundBudget = 64ull * 1024 * 1024;

// The samples of `wave` (read from `name`), converted or shared; null for a
// silent sound: a format that does not play, or a refusal, which is counted
// and, the first time for those bytes, told to the notice handler.
std::shared_ptr<const SoundSamples> SharedSoundSamples(const TIWave& wave, const std::string& name);

// Who hears of refused sounds (the program's message path); without one the
// refusals are only counted.
void SetSoundRefusalHandler(std::function<void(const std::string& text)> handler);

// Bytes the converted samples may take together; kDefaultSoundBudget at start.
void SetSoundBudget(std::uint64_t bytes);

struct SoundStoreState {
    std::uint64_t bytes = 0;    // converted samples alive now
    std::int64_t converted = 0; // conversions made since the program began
    std::int64_t refused = 0;   // waves refused since the program began, each once
};
SoundStoreState CurrentSoundStore();
