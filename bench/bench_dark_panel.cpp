// The dark panels under the help and the end moments: the help's panel over
// most of the picture, drawn every frame while it is shown.
#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "draw/panel.h"
#include "draw/pipeline.h"
#include "engine/render_context.h"

namespace {

void BM_HelpPanel(benchmark::State& state) {
    InstallBenchTables(1, 1);
    SetupViewport(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        DrawDarkPanel(0.06, 0.03, 0.61, 0.94, 10);
        benchmark::DoNotOptimize(renderContext.mainBuffer.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1) * 57 / 100);
}

} // namespace

BENCHMARK(BM_HelpPanel)->Args({320, 240})->Args({640, 480})->Args({1600, 1200});
