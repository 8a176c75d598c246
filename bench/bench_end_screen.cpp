// The end screen's frame: 1001 sparks through one shared model, the hero on
// his podium and the rising credits, with the shipped data set.
#include <filesystem>

#include <benchmark/benchmark.h>

#include "draw/pipeline.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "shell/end_screen.h"
#include "shell/end_text.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

void BM_EndScreenFrame(benchmark::State& state) {
    std::filesystem::current_path(KELVANE_DATA_DIR);
    ClearWorldTables();
    ForgetDefinitions();
    if (!LoadDefinitions(kDefinitionFile, "High") || !ReadEndText()) {
        state.SkipWithError("the data set could not be loaded");
        return;
    }
    SetupViewport(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    shellState.ScreenState = kScreenEnd;
    shellState.FirstFrame = true;
    Now = 1000;
    frameMs = 50;
    // Twenty seconds in: sparks falling and lying, credits on the screen.
    for (int i = 0; i < 400; ++i) {
        Now += frameMs;
        if (EndScreenUpdate()) DrawEndScreen();
    }
    for (auto _ : state) {
        Now += frameMs;
        if (EndScreenUpdate()) DrawEndScreen();
        benchmark::DoNotOptimize(renderContext.mainBuffer.pixels.data());
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_EndScreenFrame)
    ->Args({320, 240})
    ->Args({640, 480})
    ->Args({1600, 1200})
    ->Unit(benchmark::kMillisecond);
