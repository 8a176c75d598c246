// The editor's level view seen whole: a level built in code (a floor of
// textured cubes, walls round it, pillars, a few mesh objects and a raised
// block of solid cells) drawn from a corner high above, so that all of it is
// in the picture. The largest level the level sources allow is 255 cells on
// each side; the editor's first level is 100 x 100 x 100.
#include <algorithm>

#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "editor/editor_state.h"
#include "editor/editor_view.h"
#include "engine/mesh.h"
#include "engine/render_context.h"
#include "world/models.h"
#include "world/world.h"

namespace {

constexpr int kTextures = 6;

void DefineCube(int index, int firstTexture) {
    ObjectType& type = objectTypes[index];
    type.undefined = 0;
    type.Cube = 1;
    for (int side = 0; side < 6; ++side)
        type.faceTexture[side] = static_cast<std::uint8_t>((firstTexture + side) % kTextures);
}

// A flat-coloured box of 12 triangles.
MeshSlot Box(int half, std::uint16_t colour) {
    MeshSlot mesh = MakeMesh(7, 11);
    for (int i = 0; i < 8; ++i) {
        mesh->x[i] = i & 1 ? half : -half;
        mesh->y[i] = i & 2 ? half : -half;
        mesh->z[i] = i & 4 ? half : -half;
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

void BuildLevel(int side, int height) {
    ClearWorldTables();
    InitScratchMesh();
    BuildCubeFaceMeshes();
    InstallBenchTables(0, kTextures);
    texturedFaces = true;
    ResizeWorldGrid(side, height, side);
    std::fill(worldGrid.brightness.begin(), worldGrid.brightness.end(), 255);
    DefineCube(1, 0);
    DefineCube(2, 3);
    ObjectType& statue = objectTypes[3];
    statue.undefined = 0;
    statue.workMesh = Box(150, 120);
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            setCell(x, 0, z, 1 + (x + z) % 2);
            const bool edge = x == 0 || z == 0 || x == side - 1 || z == side - 1;
            const int wall = edge ? 3 : (x % 6 == 0 && z % 6 == 0) ? 1 + (x + z) % 4 : 0;
            for (int y = 1; y <= wall; ++y) setCell(x, y, z, 2);
            if (x % 9 == 4 && z % 9 == 4) setCell(x, 1, z, 3);
        }
    }
    // A solid block: only its outer sides can show.
    for (int x = side / 3; x < side / 2; ++x)
        for (int y = 1; y < 8; ++y)
            for (int z = side / 3; z < side / 2; ++z) setCell(x, y, z, 1);
}

void BM_EditorWholeView(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    BuildLevel(side, static_cast<int>(state.range(1)));
    windowMode = true;
    SetupViewport(640, 480);
    ResetEditorState();
    editor.viewDistance = 0;
    // Over one corner, looking across the diagonal and down.
    editor.target.x = editor.shown.x = 256;
    editor.target.y = editor.shown.y = static_cast<float>(side) * 512 * 0.4f;
    editor.target.z = editor.shown.z = 256;
    editor.target.heading = editor.shown.heading = 4096;
    editor.pitchTarget = editor.pitch = -3000;
    DrawEditorView();
    for (auto _ : state) {
        DrawEditorView();
        benchmark::DoNotOptimize(renderContext.mainBuffer.pixels.data());
    }
    // How much the picture holds: pixels not of the clearing colour.
    const std::uint8_t fog = (*renderContext.shadeTable)[255];
    state.counters["drawnPixels"] = static_cast<double>(std::count_if(
        renderContext.mainBuffer.pixels.begin(), renderContext.mainBuffer.pixels.end(),
        [fog](std::uint8_t p) { return p != fog; }));
}

BENCHMARK(BM_EditorWholeView)
    ->ArgNames({"side", "height"})
    ->Args({100, 100})
    ->Args({255, 255})
    ->Unit(benchmark::kMillisecond);

} // namespace
