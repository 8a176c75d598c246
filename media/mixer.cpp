#include "media/mixer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int32_t kSilence = -10000;

float attenuationGain(std::int32_t hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= kSilence) return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

std::int16_t clampToSample(float v) {
    const float r = std::nearbyint(v);
    if (r >= 32767.0f) return 32767;
    if (r <= -32768.0f) return -32768;
    return static_cast<std::int16_t>(r);
}

} // namespace

SideGains VolumePanGains(std::int32_t volume, std::int32_t pan) {
    volume = std::clamp(volume, kSilence, 0);
    pan = std::clamp(pan, -10000, 10000);
    return SideGains{attenuationGain(volume - std::max(pan, 0)),
                     attenuationGain(volume + std::min(pan, 0))};
}

float BusGainForPercent(int percent) {
    return static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
}

Mixer::Mixer() : channels_(kVoiceCount), musicScale_(32768.0f * attenuationGain(kMusicLevel)) {}

int Mixer::ReserveChannel() {
    std::lock_guard guard(lock_);
    for (std::size_t i = kVoiceCount; i < channels_.size(); ++i) {
        if (!channels_[i].reserved) {
            channels_[i] = Channel{};
            channels_[i].reserved = true;
            return static_cast<int>(i);
        }
    }
    channels_.push_back(Channel{});
    channels_.back().reserved = true;
    return static_cast<int>(channels_.size() - 1);
}

void Mixer::FreeChannel(int channel) {
    std::lock_guard guard(lock_);
    if (channel < kVoiceCount) return;
    if (Channel* c = channelAt(channel)) *c = Channel{};
}

Mixer::Channel* Mixer::channelAt(int channel) {
    if (channel < 0 || static_cast<std::size_t>(channel) >= channels_.size()) return nullptr;
    return &channels_[static_cast<std::size_t>(channel)];
}

void Mixer::Assign(int channel, std::shared_ptr<const SoundSamples> samples) {
    std::lock_guard guard(lock_);
    Channel* c = channelAt(channel);
    if (!c) return;
    c->samples = std::move(samples);
    c->position = 0;
    c->playing = false;
}

void Mixer::Start(int channel, bool looping) {
    std::lock_guard guard(lock_);
    Channel* c = channelAt(channel);
    if (!c || !c->samples || c->samples->Frames() == 0) return;
    if (c->position >= c->samples->Frames()) c->position = 0;
    c->playing = true;
    c->looping = looping;
}

void Mixer::Stop(int channel) {
    std::lock_guard guard(lock_);
    if (Channel* c = channelAt(channel)) c->playing = false;
}

void Mixer::SetPosition(int channel, std::size_t frame) {
    std::lock_guard guard(lock_);
    Channel* c = channelAt(channel);
    if (!c || !c->samples) return;
    c->position = std::min(frame, c->samples->Frames());
}

void Mixer::SetGains(int channel, SideGains gains) {
    std::lock_guard guard(lock_);
    if (Channel* c = channelAt(channel)) c->gains = gains;
}

void Mixer::SetChannelBus(int channel, MixBus bus) {
    std::lock_guard guard(lock_);
    if (Channel* c = channelAt(channel)) c->bus = bus;
}

void Mixer::SetBusGain(MixBus bus, float gain) {
    std::lock_guard guard(lock_);
    gain = std::isnan(gain) ? 0.0f : std::clamp(gain, 0.0f, 1.0f);
    (bus == MixBus::Music ? musicGain_ : effectsGain_) = gain;
}

float Mixer::BusGain(MixBus bus) const {
    std::lock_guard guard(lock_);
    return bus == MixBus::Music ? musicGain_ : effectsGain_;
}

bool Mixer::Playing(int channel) const {
    std::lock_guard guard(lock_);
    if (channel < 0 || static_cast<std::size_t>(channel) >= channels_.size()) return false;
    return channels_[static_cast<std::size_t>(channel)].playing;
}

void Mixer::SetMusic(std::shared_ptr<AudioSource> source) {
    std::lock_guard guard(lock_);
    music_ = std::move(source);
}

void Mixer::mixChannel(Channel& c, float* sum, int frames) {
    const SoundSamples& s = *c.samples;
    const std::size_t total = s.Frames();
    const float bus = c.bus == MixBus::Music ? musicGain_ : effectsGain_;
    const float left = c.gains.left * bus, right = c.gains.right * bus;
    const bool audible = left != 0.0f || right != 0.0f;
    int done = 0;
    while (done < frames && c.playing) {
        const int n = static_cast<int>(std::min<std::size_t>(frames - done, total - c.position));
        if (audible && sum) {
            float* to = sum + 2 * done;
            if (s.channels == 1) {
                const std::int16_t* from = s.samples.data() + c.position;
                for (int i = 0; i < n; ++i) {
                    const float v = from[i];
                    to[2 * i] += v * left;
                    to[2 * i + 1] += v * right;
                }
            } else {
                const std::int16_t* from = s.samples.data() + 2 * c.position;
                for (int i = 0; i < n; ++i) {
                    to[2 * i] += from[2 * i] * left;
                    to[2 * i + 1] += from[2 * i + 1] * right;
                }
            }
        }
        done += n;
        c.position += static_cast<std::size_t>(n);
        if (c.position >= total) {
            c.position = 0;
            c.playing = c.looping;
        }
    }
}

void Mixer::Mix(std::int16_t* out, int frames) {
    if (frames <= 0) return;
    std::lock_guard guard(lock_);
    const auto values = static_cast<std::size_t>(frames) * 2;
    sum_.assign(values, 0.0f);
    for (Channel& c : channels_)
        if (c.playing) mixChannel(c, sum_.data(), frames);
    if (music_) {
        musicFrames_.assign(values, 0.0f);
        music_->Render(musicFrames_.data(), frames);
        const float scale = musicScale_ * musicGain_;
        for (std::size_t i = 0; i < values; ++i) sum_[i] += musicFrames_[i] * scale;
    }
    limiter_.Process(sum_.data(), frames);
    for (std::size_t i = 0; i < values; ++i) out[i] = clampToSample(sum_[i]);
}

std::int64_t Mixer::LimitedFrames() const {
    std::lock_guard guard(lock_);
    return limiter_.LimitedFrames();
}

void Mixer::Skip(int frames) {
    if (frames <= 0) return;
    std::lock_guard guard(lock_);
    for (Channel& c : channels_)
        if (c.playing) mixChannel(c, nullptr, frames);
    if (music_) {
        musicFrames_.assign(static_cast<std::size_t>(frames) * 2, 0.0f);
        music_->Render(musicFrames_.data(), frames);
    }
}
