// Frame rendering: a field of textured cubes seen from inside, submitted side
// by side as the scene drawing does, then lit, sorted and rasterised.
#include <array>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "engine/mesh.h"
#include "engine/render_context.h"
#include "world/world.h"

namespace {

constexpr int kGrid = 17; // cells per side of the field, as the view box
constexpr int kTextures = 6;

struct Scene {
    std::vector<std::uint8_t> cells; // 1 = cube, 0 = empty; x, y, z with y in 0..3
    int At(int x, int y, int z) const {
        if (x < 0 || y < 0 || z < 0 || x >= kGrid || y >= 4 || z >= kGrid) return 0;
        return cells[(x * 4 + y) * kGrid + z];
    }
};

Scene BuildScene() {
    Scene scene;
    scene.cells.assign(kGrid * 4 * kGrid, 0);
    for (int x = 0; x < kGrid; ++x) {
        for (int z = 0; z < kGrid; ++z) {
            scene.cells[(x * 4 + 0) * kGrid + z] = 1; // floor
            const bool edge = x == 0 || z == 0 || x == kGrid - 1 || z == kGrid - 1;
            const bool pillar = (x % 4 == 2 && z % 4 == 2);
            if (edge || pillar)
                for (int y = 1; y < 4; ++y) scene.cells[(x * 4 + y) * kGrid + z] = 1;
        }
    }
    return scene;
}

// One frame: every cube side without a cube neighbour, as the scene draws.
int DrawFrame(const Scene& scene) {
    static constexpr int kNeighbour[6][3] = {{0, 0, -1}, {1, 0, 0}, {0, 0, 1},
                                             {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    ClearFrame(0);
    const int camX = 8 * 512 + 100, camY = 2 * 512 + 300, camZ = 3 * 512;
    SetCamera(camX, camY, camZ, 1200, -1500, 0);
    AddLight(camX, camY, camZ, 5000);
    int submitted = 0;
    for (int x = 0; x < kGrid; ++x) {
        for (int y = 0; y < 4; ++y) {
            for (int z = 0; z < kGrid; ++z) {
                if (!scene.At(x, y, z)) continue;
                const int cx = x * 512 + 256, cy = y * 512 + 256, cz = z * 512 + 256;
                if (!IsPointVisible(1280, cx, cy, cz)) continue;
                for (int side = 0; side < 6; ++side) {
                    if (scene.At(x + kNeighbour[side][0], y + kNeighbour[side][1],
                                 z + kNeighbour[side][2]))
                        continue;
                    MeshSlot& mesh = cubeFaceMeshes[side];
                    for (Face& face : mesh->faces) {
                        face.texture =
                            static_cast<std::uint16_t>(1 + (x + y + z + side) % kTextures);
                        face.kind = kFaceTextured;
                    }
                    SubmitMesh(MeshOrNull(mesh), cx, cy, cz, 0, 60, 0, 0, 0);
                    ++submitted;
                }
            }
        }
    }
    const int queued = renderContext.queueCount;
    DrawQueue();
    benchmark::DoNotOptimize(renderContext.mainBuffer.pixels.data());
    (void)submitted;
    return queued;
}

void BM_DrawScene(benchmark::State& state) {
    InitScratchMesh();
    BuildCubeFaceMeshes();
    InstallBenchTables(1, kTextures);
    windowMode = true;
    SetupViewport(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const Scene scene = BuildScene();
    int queued = 0;
    for (auto _ : state) queued = DrawFrame(scene);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = queued;
}

BENCHMARK(BM_DrawScene)->Args({320, 240})->Args({640, 480})->Args({1600, 1200});

} // namespace
