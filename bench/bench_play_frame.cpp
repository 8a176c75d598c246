// The world's half of the play frame (no drawing) on shipped levels with
// sentries, and the replay of every shipped solution route, in simulated
// frames per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "formats/level_file.h"
#include "sim_tool.h"
#include "world/frame_clock.h"
#include "world/play_frame.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = KELVANE_DATA_DIR;

void BM_PlayFrame(benchmark::State& state, const char* level) {
    fs::current_path(kData);
    ClearWorldTables();
    if (LoadLevel(level, "High").result != kLevelLoaded) {
        state.SkipWithError("the shipped level could not be loaded");
        return;
    }
    frameMs = 50;
    std::int64_t frames = 0;
    for (auto _ : state) {
        Now += frameMs;
        RunPlayFrame();
        ++frames;
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["sentries"] = sentryCount;
}
BENCHMARK_CAPTURE(BM_PlayFrame, vault, "LEVEL/11-TheVault.lev");
BENCHMARK_CAPTURE(BM_PlayFrame, watchers, "LEVEL/04-TheWatchers.lev");
BENCHMARK_CAPTURE(BM_PlayFrame, openSky, "LEVEL/10-OpenSky.lev");

// Every level source with a route, won at 50 ms frames by the simulation tool.
void BM_ReplayAllRoutes(benchmark::State& state) {
    std::vector<std::pair<std::string, std::string>> runs;
    for (const auto& source : fs::directory_iterator(KELVANE_LEVEL_SOURCES)) {
        const std::string name = source.path().filename().string();
        for (const auto& level : fs::directory_iterator(kData + "/LEVEL"))
            if (level.path().filename().string().substr(0, 2) == name.substr(0, 2))
                runs.emplace_back("LEVEL/" + level.path().filename().string(),
                                  source.path().string());
    }
    std::int64_t levels = 0;
    for (auto _ : state) {
        for (const auto& [level, route] : runs) {
            std::ostringstream out, err;
            if (RunSimTool({"--data", kData, "--level", level, "--route", route, "--until", "won"},
                           out, err) == 0)
                ++levels;
        }
    }
    state.counters["levels won/s"] =
        benchmark::Counter(static_cast<double>(levels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReplayAllRoutes)->Unit(benchmark::kMillisecond);

} // namespace
