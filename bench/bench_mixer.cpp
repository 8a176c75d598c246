// The mixer at full load: 256 playing voices (mono and stereo, every one at
// its own volume and pan) plus a music source, mixed in device-sized blocks
// through the master bus's limiter; and the limiter alone.
// "core_percent" is the share of one core the mixing takes at 44100 Hz.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "media/mixer.h"
#include "media/soft_limiter.h"
#ifdef KELVANE_DATA_DIR
#include "backends/openmpt/openmpt_module.h"
#include "media/music_bus.h"
#include "platform/files.h"
#endif

namespace {

constexpr int kBlockFrames = 1024; // one device callback

std::shared_ptr<const SoundSamples> tone(int channels, int frames, double hz) {
    SoundSamples s;
    s.channels = channels;
    s.samples.resize(static_cast<std::size_t>(frames * channels));
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s.samples[static_cast<std::size_t>(i * channels + c)] =
                static_cast<std::int16_t>(8000 * std::sin(i * hz * 6.2832 / kDeviceRate));
    return std::make_shared<const SoundSamples>(std::move(s));
}

// Stands in for a module player's output: the mixer's share is adding it.
class SineMusic : public AudioSource {
  public:
    void Render(float* stereo, int frames) override {
        for (int i = 0; i < frames; ++i, ++t_) {
            const float v = 0.2f * std::sin(static_cast<float>(t_) * 0.0627f);
            stereo[2 * i] = v;
            stereo[2 * i + 1] = v;
        }
    }

  private:
    long t_ = 0;
};

void mix256VoicesAnd(benchmark::State& state, std::shared_ptr<AudioSource> music) {
    Mixer mixer;
    const auto monoTone = tone(1, kDeviceRate, 440);
    const auto stereoTone = tone(2, kDeviceRate / 2, 660);
    for (int v = 0; v < kVoiceCount; ++v) {
        mixer.Assign(v, v % 2 ? monoTone : stereoTone);
        mixer.SetGains(v, VolumePanGains(-(v * 37) % 3000, (v * 613) % 20001 - 10000));
        mixer.SetPosition(v, static_cast<std::size_t>(v * 97));
        mixer.Start(v, true);
    }
    mixer.SetMusic(std::move(music));
    std::vector<std::int16_t> out(2 * kBlockFrames);
    for (auto _ : state) {
        mixer.Mix(out.data(), kBlockFrames);
        benchmark::DoNotOptimize(out.data());
    }
    const double audioSeconds =
        static_cast<double>(state.iterations()) * kBlockFrames / kDeviceRate;
    state.counters["core_percent"] = benchmark::Counter(
        audioSeconds / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Mix256VoicesAndMusic(benchmark::State& state) {
    mix256VoicesAnd(state, std::make_shared<SineMusic>());
}
BENCHMARK(BM_Mix256VoicesAndMusic);

// The master bus's limiter alone, on a block held past its threshold all the
// time (its dearest case: every sample bent by the knee).
void BM_LimiterOverThreshold(benchmark::State& state) {
    SoftLimiter limiter(kDeviceRate);
    std::vector<float> block(2 * kBlockFrames);
    for (int i = 0; i < kBlockFrames; ++i) {
        const float v = 60000.0f * std::sin(static_cast<float>(i) * 0.0627f);
        block[2 * i] = v;
        block[2 * i + 1] = -v;
    }
    std::vector<float> work(block.size());
    for (auto _ : state) {
        work = block;
        limiter.Process(work.data(), kBlockFrames);
        benchmark::DoNotOptimize(work.data());
    }
    const double audioSeconds =
        static_cast<double>(state.iterations()) * kBlockFrames / kDeviceRate;
    state.counters["core_percent"] = benchmark::Counter(
        audioSeconds / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LimiterOverThreshold);

#ifdef KELVANE_DATA_DIR
// The same with the title module rendered by libopenmpt through the music bus.
void BM_Mix256VoicesAndTitleModule(benchmark::State& state) {
    const auto file = ReadWholeFile(KELVANE_DATA_DIR "/MUSIC/TITLE.MOD");
    auto module = file ? OpenMptModule(*file, true) : nullptr;
    if (!module) {
        state.SkipWithError("no title module");
        return;
    }
    auto bus = std::make_shared<MusicBus>();
    bus->Play(MusicSlot::Module, std::move(module));
    mix256VoicesAnd(state, bus);
}
BENCHMARK(BM_Mix256VoicesAndTitleModule);
#endif

} // namespace
