// The whole play picture: a level built in code (a walled field of textured
// cubes with pillars, mesh objects, sentries and the hero) drawn by the scene
// from the player's eyes and from the follow camera.
#include <array>
#include <memory>

#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "draw/scene.h"
#include "engine/mesh.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "world/frame_clock.h"
#include "world/local_view.h"
#include "world/models.h"
#include "world/world.h"

namespace {

constexpr int kGrid = 24;
constexpr int kTextures = 6;

// A flat-coloured box of 12 triangles.
MeshSlot Box(int halfX, int halfY, int halfZ, std::uint16_t colour) {
    MeshSlot mesh = MakeMesh(7, 11);
    for (int i = 0; i < 8; ++i) {
        mesh->x[i] = i & 1 ? halfX : -halfX;
        mesh->y[i] = i & 2 ? halfY : -halfY;
        mesh->z[i] = i & 4 ? halfZ : -halfZ;
    }
    static constexpr int kQuads[6][4] = {{2, 3, 1, 0}, {3, 7, 5, 1}, {7, 6, 4, 5},
                                         {6, 2, 0, 4}, {6, 7, 3, 2}, {0, 1, 5, 4}};
    for (int q = 0; q < 6; ++q) {
        const auto* c = kQuads[q];
        mesh->faces[2 * q] = Face{
            std::uint16_t(c[3]), std::uint16_t(c[0]), std::uint16_t(c[1]), colour, 0, 0, kFaceFlat};
        mesh->faces[2 * q + 1] = Face{
            std::uint16_t(c[1]), std::uint16_t(c[2]), std::uint16_t(c[3]), colour, 0, 0, kFaceFlat};
    }
    return mesh;
}

void DefineCube(int index, int firstTexture) {
    ObjectType& type = objectTypes[index];
    type.undefined = 0;
    type.Cube = 1;
    for (int side = 0; side < 6; ++side)
        type.faceTexture[side] = static_cast<std::uint8_t>((firstTexture + side) % kTextures);
}

void BuildLevel() {
    ClearWorldTables();
    InitScratchMesh();
    BuildCubeFaceMeshes();
    InstallBenchTables(0, kTextures);
    texturedFaces = true;
    ResizeWorldGrid(kGrid, 8, kGrid);
    std::fill(worldGrid.brightness.begin(), worldGrid.brightness.end(), 150);
    DefineCube(1, 0);
    DefineCube(2, 3);
    ObjectType& statue = objectTypes[3];
    statue.undefined = 0;
    statue.workMesh = Box(150, 240, 150, 120);
    for (int x = 0; x < kGrid; ++x) {
        for (int z = 0; z < kGrid; ++z) {
            setCell(x, 0, z, 1 + (x + z) % 2);
            const bool edge = x == 0 || z == 0 || x == kGrid - 1 || z == kGrid - 1;
            // Walls round the edge, a grid of pillars of one to three
            // blocks, statues between them.
            const int height = edge ? 3 : (x + z) % 2 == 0 ? 1 + (x * 5 + z * 3) % 4 : 0;
            for (int y = 1; y <= height; ++y) setCell(x, y, z, 1 + (y + x) % 2);
            if (x % 4 == 1 && z % 4 == 3) setCell(x, 1, z, 3);
        }
    }
    for (PlayerRecord& p : players) {
        p.workMesh = Box(100, 240, 60, 200);
        p.shadowMesh = Box(150, 1, 150, 10);
    }
    enemyMesh = Box(65, 240, 65, 90);
    sentryCount = 6;
    for (int i = 1; i <= sentryCount; ++i) {
        sentries[i].x = float(3 + 2 * i) * 512 + 256;
        sentries[i].y = 752;
        sentries[i].z = float(8 + i % 3) * 512;
    }
}

void BM_DrawPlayFrame(benchmark::State& state) {
    BuildLevel();
    windowMode = true;
    SetupViewport(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    PlayerRecord& p = players[0];
    // Above the walls at one end, looking down the field.
    p.x = 12 * 512 + 100;
    p.y = 5 * 512 + 300;
    p.z = 4 * 512;
    p.heading = 1200;
    p.pitch = 29000;
    p.cameraDistance = static_cast<float>(state.range(2));
    p.cameraX = p.followX = p.x;
    p.cameraY = p.followY = p.y;
    p.cameraZ = p.followZ = p.z;
    Now = 1000;
    frameMs = 50;
    for (int i = 0; i < 100; ++i) { // let the follow camera settle
        UpdateLocalView();
        DrawPlayFrame(world);
    }
    for (auto _ : state) {
        UpdateLocalView();
        DrawPlayFrame(world);
        benchmark::DoNotOptimize(renderContext.mainBuffer.pixels.data());
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // Textured triangles are cube sides: two each, more where clipped.
    int textured = 0;
    for (int i = 0; i < renderContext.queueCount; ++i)
        textured += renderContext.queue[i].kind == kFaceTextured;
    state.counters["triangles"] = renderContext.queueCount;
    state.counters["cubeTriangles"] = textured;
}

BENCHMARK(BM_DrawPlayFrame)
    ->ArgNames({"w", "h", "camera"})
    ->Args({320, 240, 0})
    ->Args({640, 480, 0})
    ->Args({1600, 1200, 0})
    ->Args({320, 240, 1024})
    ->Args({640, 480, 1024});

} // namespace
