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
#include "world/game_services.h"
#include "world/play_frame.h"
#include "world/sound_listener.h"
#include "world/view_box.h"
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

// The ambient loops of a frame in which every cell around the camera is due
// (a cave of lava, and the same with every other cell air): the scan of the
// box and the grouping of touching cells into one voice each.
void BM_DueLoopsAroundTheCamera(benchmark::State& state) {
    ClearWorldTables();
    if (!ResizeWorldGrid(32, 32, 32)) {
        state.SkipWithError("no grid");
        return;
    }
    int sound = 0;
    ObjectType& lava = objectTypes[5];
    lava.LoopSound = reinterpret_cast<TSoundBuffer*>(&sound); // logged, never played here
    lava.LoopVolume = 200;
    lava.loopDue = 1;
    const bool sparse = state.range(0) != 0;
    for (int x = 0; x < 32; ++x)
        for (int y = 0; y < 32; ++y)
            for (int z = 0; z < 32; ++z)
                if (!sparse || (x + y + z) % 2 == 0) setCell(x, y, z, 5);
    const ViewBox box = ViewBoxAround(worldGrid, 16.5f * 512, 16.5f * 512, 16.5f * 512);
    for (auto _ : state) {
        StartDueLoopSounds(box);
        ClearWorldEvents();
    }
    ClearWorldTables();
}
BENCHMARK(BM_DueLoopsAroundTheCamera)->Arg(0)->Arg(1);

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
