#include "media/sound_store.h"

#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <tuple>

#include "media/wave_file.h"

namespace {

// Which samples a wave converts to: its whole format record and its sample
// bytes (by size and hash).
struct WaveKey {
    std::vector<std::uint8_t> format;
    std::size_t dataSize = 0;
    std::size_t dataHash = 0;

    bool operator<(const WaveKey& other) const {
        return std::tie(dataHash, dataSize, format) <
               std::tie(other.dataHash, other.dataSize, other.format);
    }
};

struct Entry {
    std::weak_ptr<const SoundSamples> samples;
    const SoundSamples* identity = nullptr; // which conversion the entry holds
};

// The last holder of some samples may be the audio thread's mixer, so the
// store is shared under a lock.
struct Store {
    std::mutex lock;
    std::map<WaveKey, Entry> entries;
    std::set<WaveKey> told; // refusals already told
    std::function<void(const std::string&)> handler;
    std::uint64_t budget = kDefaultSoundBudget;
    SoundStoreState state;
};

// Never destroyed: samples may be released after the program's statics.
Store& store() {
    static Store* const instance = new Store;
    return *instance;
}

WaveKey keyOf(const TIWave& wave) {
    const std::string_view bytes(reinterpret_cast<const char*>(wave.data.data()), wave.DataSize());
    return WaveKey{wave.format, wave.DataSize(), std::hash<std::string_view>{}(bytes)};
}

std::string megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

// Why the wave is refused, or nothing when it may be converted. Called
// under the lock.
std::string refusal(const Store& s, const TIWave& wave, const std::string& name,
                    std::uint64_t bytes) {
    const std::uint32_t rate = wave.SamplesPerSec();
    const std::string sound = "The sound " + name + " is not played: ";
    if (rate < kMinSoundRate)
        return sound + "its sample rate, " + std::to_string(rate) + " Hz, is below " +
               std::to_string(kMinSoundRate) + " Hz.";
    if (rate > kMaxSoundRate)
        return sound + "its sample rate, " + std::to_string(rate) + " Hz, is above " +
               std::to_string(kMaxSoundRate) + " Hz.";
    if (bytes > s.budget || s.state.bytes > s.budget - bytes)
        return sound + "it would take " + megabytes(bytes) + " with " + megabytes(s.state.bytes) +
               " of sounds loaded, beyond the " + megabytes(s.budget) + " all sounds may take.";
    return {};
}

void release(const WaveKey& key, const SoundSamples* samples, std::uint64_t bytes) {
    Store& s = store();
    {
        std::lock_guard<std::mutex> hold(s.lock);
        s.state.bytes -= bytes;
        const auto found = s.entries.find(key);
        if (found != s.entries.end() && found->second.identity == samples) s.entries.erase(found);
    }
    delete samples;
}

} // namespace

std::shared_ptr<const SoundSamples> SharedSoundSamples(const TIWave& wave,
                                                       const std::string& name) {
    Store& s = store();
    const WaveKey key = keyOf(wave);
    std::function<void(const std::string&)> tell;
    std::string text;
    {
        std::lock_guard<std::mutex> hold(s.lock);
        const auto found = s.entries.find(key);
        if (found != s.entries.end())
            if (auto shared = found->second.samples.lock()) return shared;
        const auto bytes = ConvertedSoundBytes(wave);
        const bool rateRefused =
            wave.SamplesPerSec() < kMinSoundRate || wave.SamplesPerSec() > kMaxSoundRate;
        // Anything else that does not convert is a silent sound, as ever.
        if (!bytes && !rateRefused) return nullptr;
        text = refusal(s, wave, name, bytes.value_or(0));
        if (text.empty()) {
            // Counted before converting, so that the budget holds while the
            // lock is let go for the conversion.
            s.state.bytes += *bytes;
        } else {
            if (!s.told.insert(key).second) return nullptr;
            ++s.state.refused;
            tell = s.handler;
        }
    }
    if (!text.empty()) {
        if (tell) tell(text);
        return nullptr;
    }
    const std::uint64_t bytes = *ConvertedSoundBytes(wave);
    auto converted = ConvertToDeviceFormat(wave);
    std::lock_guard<std::mutex> hold(s.lock);
    if (!converted) {
        s.state.bytes -= bytes;
        return nullptr;
    }
    const SoundSamples* raw = new SoundSamples(std::move(*converted));
    std::shared_ptr<const SoundSamples> shared(
        raw, [key, bytes](const SoundSamples* samples) { release(key, samples, bytes); });
    s.entries[key] = Entry{shared, raw};
    ++s.state.converted;
    return shared;
}

void SetSoundRefusalHandler(std::function<void(const std::string& text)> handler) {
    std::lock_guard<std::mutex> hold(store().lock);
    store().handler = std::move(handler);
}

void SetSoundBudget(std::uint64_t bytes) {
    std::lock_guard<std::mutex> hold(store().lock);
    store().budget = bytes;
    store().told.clear();
}

SoundStoreState CurrentSoundStore() {
    std::lock_guard<std::mutex> hold(store().lock);
    return store().state;
}
