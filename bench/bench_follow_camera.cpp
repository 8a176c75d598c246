// The follow camera's placement once a frame: the follow point, the way from
// the hero's head to it looked along now and ahead, the fade. The hero turns
// in a room of pillars, so that the way keeps meeting walls.
#include <benchmark/benchmark.h>

#include <cmath>

#include "world/camera_sight.h"
#include "world/follow_camera.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

void buildRoom() {
    ClearWorldTables();
    ResizeWorldGrid(16, 4, 16);
    ObjectType& stone = objectTypes[1];
    stone.undefined = 0;
    stone.Cube = 1;
    for (int x = 0; x < 16; ++x)
        for (int z = 0; z < 16; ++z) {
            setCell(x, 0, z, 1);
            const bool wall = x == 0 || z == 0 || x == 15 || z == 15;
            const bool pillar = x % 3 == 0 && z % 3 == 0;
            if (wall || pillar)
                for (int y = 1; y < 4; ++y) setCell(x, y, z, 1);
        }
}

void BM_FollowCamera(benchmark::State& state) {
    buildRoom();
    PlayerRecord& p = players[0];
    p.x = p.followX = 8 * 512 + 100;
    p.y = p.followY = 512 + 240;
    p.z = p.followZ = 7 * 512 + 300;
    p.cameraDistance = static_cast<float>(state.range(0));
    frameMs = 50;
    std::int64_t frames = 0;
    for (auto _ : state) {
        p.heading = std::fmod(p.heading + 300.0f, 32768.0f);
        PlaceCamera(p);
        benchmark::DoNotOptimize(p.cameraX);
        ++frames;
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    ClearWorldTables();
}
BENCHMARK(BM_FollowCamera)->Arg(512)->Arg(1024)->Arg(1536);

// The sight check the simulation samples: the eye in a wall, the head hidden.
void BM_CameraSight(benchmark::State& state) {
    buildRoom();
    PlayerRecord& p = players[0];
    p.x = 8 * 512 + 100;
    p.y = 512 + 240;
    p.z = 7 * 512 + 300;
    p.cameraX = 4 * 512 + 256;
    p.cameraY = 2 * 512 + 100;
    p.cameraZ = 11 * 512 + 256;
    for (auto _ : state) benchmark::DoNotOptimize(CheckCameraSight(world, p));
    ClearWorldTables();
}
BENCHMARK(BM_CameraSight);

} // namespace
