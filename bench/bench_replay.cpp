// Replays: a frame's record appended (every play frame does it), and an
// hour of frames at 50 ms written and read back (what leaving a level and
// --replay do).
#include <benchmark/benchmark.h>

#include "formats/replay_file.h"

namespace {

constexpr std::size_t kHourOfFrames = 72000;

Replay hourLong() {
    Replay r;
    r.programVersion = "0.1";
    r.levelPath = "LEVEL\\01-FirstSteps.lev";
    for (std::size_t i = 0; i < kHourOfFrames; ++i)
        r.frames.push_back(
            {static_cast<std::int32_t>(50 * i), 50, static_cast<std::uint16_t>(i % 1024)});
    return r;
}

void BM_RecordFrame(benchmark::State& state) {
    std::vector<ReplayFrame> frames;
    frames.reserve(kHourOfFrames);
    std::int32_t tick = 0;
    for (auto _ : state) {
        if (frames.size() == kHourOfFrames) frames.clear();
        frames.push_back({tick += 50, 50, static_cast<std::uint16_t>(tick & 1023)});
        benchmark::DoNotOptimize(frames.data());
    }
}
BENCHMARK(BM_RecordFrame);

void BM_WriteHourOfReplay(benchmark::State& state) {
    const Replay r = hourLong();
    for (auto _ : state) benchmark::DoNotOptimize(EncodeReplay(r));
}
BENCHMARK(BM_WriteHourOfReplay)->Unit(benchmark::kMillisecond);

void BM_ReadHourOfReplay(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = EncodeReplay(hourLong());
    for (auto _ : state) benchmark::DoNotOptimize(DecodeReplay(bytes, "hour.kvr"));
}
BENCHMARK(BM_ReadHourOfReplay)->Unit(benchmark::kMillisecond);

} // namespace
