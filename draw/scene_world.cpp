// The 3D part of the play picture: sky, objects in motion, the cells around
// the camera, players and sentries with their shadows.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "draw/scene.h"
#include "draw/scene_steps.h"
#include "engine/angles.h"
#include "engine/mesh.h"
#include "engine/render_context.h"
#include "world/follow_camera.h"
#include "world/models.h"
#include "world/world.h"

namespace scene {

namespace {

// Neighbour offsets of the cube sides A..F: -z, +x, +z, -x, +y, -y.
constexpr std::array<std::array<int, 3>, 6> kSideNeighbour = {
    {{0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}}};

constexpr std::int32_t kVisibleRadius = 1280;

// A side next to a drawn cube is hidden and never submitted. An undefined
// type is drawn as air, so it hides nothing whatever its stale flags say.
bool IsCube(const World& world, std::uint8_t type) {
    const ObjectType& t = world.types[type];
    return !t.undefined && t.Cube;
}

void SubmitCubeSides(const ObjectType& type, unsigned sides, std::int32_t x, std::int32_t y,
                     std::int32_t z, std::int32_t shade) {
    ApplyCubeFaces(type, texturedFaces);
    for (std::size_t side = 0; side < cubeFaceMeshes.size(); ++side)
        if (sides & (1u << side))
            SubmitMesh(MeshOrNull(cubeFaceMeshes[side]), x, y, z, type.Transparency, shade, 0, 0,
                       0);
}

// The sides of the cube centred at (x, y, z) whose outer face the camera
// sees: a side turned away is culled when drawn anyway, so it need not be
// submitted.
unsigned SidesFacing(const Camera& camera, std::int32_t x, std::int32_t y, std::int32_t z) {
    constexpr std::int64_t kHalf = 256;
    const std::int64_t dx = std::int64_t{camera.x} - x, dy = std::int64_t{camera.y} - y,
                       dz = std::int64_t{camera.z} - z;
    unsigned sides = 0;
    if (dz < -kHalf) sides |= 1u << 0;
    if (dx > kHalf) sides |= 1u << 1;
    if (dz > kHalf) sides |= 1u << 2;
    if (dx < -kHalf) sides |= 1u << 3;
    if (dy > kHalf) sides |= 1u << 4;
    if (dy < -kHalf) sides |= 1u << 5;
    return sides;
}

bool BoxContains(const ObjectType& type, int lx, int lz) {
    return type.Xmin <= lx && lx <= type.Xmax && type.Zmin <= lz && lz <= type.Zmax;
}

} // namespace

void DrawSky(const World& world, const PlayerRecord& player) {
    if (!skyMesh || !world.level.outside) return;
    // Centred on the viewer and lit at full strength, behind everything.
    SetCamera(0, 0, 0, TruncToInt(player.cameraYaw), TruncToInt(player.cameraPitch),
              TruncToInt(player.cameraRoll));
    AddLight(0, 0, 0, 1000000);
    SubmitMesh(MeshOrNull(skyMesh), 0, 0, 0, 0, 0, 0, 0, 0);
    DrawQueue();
}

void DrawTransitionSlots(const World& world, const ViewBox& box) {
    for (const TransitionSlot& slot : world.transitionSlots) {
        if (!slot.active || !slot.workMesh) continue;
        if (!NearCameraCell(box, slot.x, slot.y, slot.z)) continue;
        SubmitMesh(MeshOrNull(slot.workMesh), RoundEven(slot.x), RoundEven(slot.y),
                   RoundEven(slot.z), world.types[slot.animType].Transparency, 0, 0, 0, 0);
    }
}

void DrawSlidingBlocks(const World& world) {
    const int last = std::min(world.slidingBlockCount, kWorldListSize - 1);
    for (int i = 0; i <= last; ++i) {
        const SlidingBlock& block = world.slidingBlocks[i];
        const ObjectType& type = world.types[block.type];
        if (type.undefined) continue;
        const std::int32_t x = RoundEven(block.x), y = RoundEven(block.y), z = RoundEven(block.z);
        if (type.Cube)
            SubmitCubeSides(type, 0x3f, x, y, z, 0);
        else if (type.workMesh)
            SubmitMesh(MeshOrNull(type.workMesh), x, y, z, type.Transparency, 0, 0, 0, 0);
    }
}

namespace {

// Draws one cell of the view: a cube by its sides not hidden by a cube
// neighbour (and, when `facing` is given, turned toward the camera), a mesh
// type as its mesh, nothing when it lies out of sight.
void DrawCell(const World& world, int x, int y, int z, std::uint8_t index,
              const std::array<std::int32_t, 3>& target, const Camera* facing) {
    const ObjectType& type = world.types[index];
    if (type.undefined) return;
    const std::int32_t px = CellCentre(x), py = CellCentre(y), pz = CellCentre(z);

    unsigned sides = 0;
    if (type.Cube) {
        for (std::size_t side = 0; side < kSideNeighbour.size(); ++side) {
            const auto& d = kSideNeighbour[side];
            if (!IsCube(world, cellAt(world.grid, x + d[0], y + d[1], z + d[2])))
                sides |= 1u << side;
        }
        if (facing) sides &= SidesFacing(*facing, px, py, pz);
        if (sides == 0) return; // buried or turned away: nothing of it can show
    }
    if (!IsPointVisible(kVisibleRadius, px, py, pz)) return;

    std::int32_t shade = std::int32_t{brightnessAt(world.grid, x, y, z)} - 128;
    if (type.Dig && x == target[0] && y == target[1] && z == target[2]) shade = -80;
    if (type.Cube)
        SubmitCubeSides(type, sides, px, py, pz, shade);
    else if (type.workMesh)
        SubmitMesh(MeshOrNull(type.workMesh), px, py, pz, type.Transparency, shade, 0, 0, 0);
}

} // namespace

void DrawCells(const World& world, const ViewBox& box, const PlayerRecord& player) {
    for (int x = box.loX; x <= box.hiX; ++x)
        for (int y = box.loY; y <= box.hiY; ++y)
            for (int z = box.loZ; z <= box.hiZ; ++z)
                DrawCell(world, x, y, z, cellAt(world.grid, x, y, z), player.actionCell, nullptr);
}

void DrawCellsFar(const World& world, const ViewBox& box, const PlayerRecord& player) {
    const WorldGrid& grid = world.grid;
    // Only cells inside the grid hold anything; rows are walked in memory
    // order and runs of empty cells skipped eight at a time.
    const int loX = std::max(box.loX, 0), hiX = std::min(box.hiX, grid.sizeX - 1);
    const int loY = std::max(box.loY, 0), hiY = std::min(box.hiY, grid.sizeY - 1);
    const int loZ = std::max(box.loZ, 0), hiZ = std::min(box.hiZ, grid.sizeZ - 1);
    if (loX > hiX || loY > hiY || loZ > hiZ) return;
    const Camera& camera = renderContext.camera;
    for (int z = loZ; z <= hiZ; ++z) {
        for (int y = loY; y <= hiY; ++y) {
            const std::uint8_t* row =
                grid.cells.data() +
                (static_cast<std::size_t>(z) * static_cast<std::size_t>(grid.sizeY) +
                 static_cast<std::size_t>(y)) *
                    static_cast<std::size_t>(grid.sizeX);
            int x = loX;
            while (x <= hiX) {
                if (x + 8 <= hiX + 1) {
                    std::uint64_t eight = 0;
                    std::memcpy(&eight, row + x, sizeof eight);
                    if (eight == 0) {
                        x += 8;
                        continue;
                    }
                }
                if (row[x] != 0) DrawCell(world, x, y, z, row[x], player.actionCell, &camera);
                ++x;
            }
        }
    }
}

void DrawPlayers(const World& world, const ViewBox& box) {
    const std::int32_t shade = std::int32_t{brightnessAt(world.grid, box.cx, box.cy, box.cz)} - 78;
    const int last = std::min(world.lastPlayer, kPlayerCount - 1);
    for (int i = 0; i <= last; ++i) {
        const PlayerRecord& p = world.players[i];
        // Never the local player's own figure in first person (or close to it).
        if (i == world.localPlayer &&
            (p.cameraDistance <= 0.3f * static_cast<float>(p.width) || EyeInsideFigure(p)))
            continue;
        const std::int64_t facing = p.onLadder ? p.ladderHeading : TruncToInt(p.heading);
        if (p.workMesh)
            SubmitMesh(MeshOrNull(p.workMesh), TruncToInt(p.x), TruncToInt(p.y), TruncToInt(p.z), 0,
                       shade, WrapAngle(16384 - facing));
        DrawShadowInBox(world, box, MeshOrNull(p.shadowMesh), WrapAngle(-facing - 8192), p.x, p.y,
                        p.z);
    }
}

void DrawSentries(const World& world, const ViewBox& box) {
    const Mesh* shadow = MeshOrNull(world.players[0].shadowMesh);
    const int last = std::min(world.sentryCount, kSentrySlots - 1);
    for (int i = 1; i <= last; ++i) {
        const SentryRecord& e = world.sentries[i];
        if (!NearCameraCell(box, e.x, e.y, e.z)) continue;
        if (enemyMesh)
            SubmitMesh(MeshOrNull(enemyMesh), TruncToInt(e.x), TruncToInt(e.y), TruncToInt(e.z), 0,
                       0, WrapAngle(std::int64_t{TruncToInt(e.heading)} + 16384));
        DrawShadowInBox(world, box, shadow, WrapAngle(-std::int64_t{RoundEven(e.heading)} - 8192),
                        e.x, e.y, e.z);
    }
}

// Only the rows of the view box are looked at: a surface below the lowest
// drawn row is not drawn, nor would a shadow on it be, and the walk down a
// tall empty column stops there instead of at the grid's floor.
void DrawShadowInBox(const World& world, const ViewBox& box, const Mesh* shadowMesh,
                     std::int32_t yaw, float x, float y, float z) {
    if (!shadowMesh) return;
    const int gx = CellOf(x), gy = CellOf(y), gz = CellOf(z);
    const int lx = TruncToInt(static_cast<double>(x) - static_cast<double>(gx) * worldUnit);
    const int lz = TruncToInt(static_cast<double>(z) - static_cast<double>(gz) * worldUnit);

    std::uint8_t type = cellAt(world.grid, gx, gy, gz);
    std::int64_t row = gy;
    if (type == 0) {
        // The first defined surface below whose box lies under the figure.
        // The box's top row may be one past the grid, where cells read as 0.
        bool found = false;
        for (row = std::min<std::int64_t>(std::int64_t{gy} - 1, box.hiY); row >= box.loY; --row) {
            type = cellAt(world.grid, gx, static_cast<int>(row), gz);
            if (!world.types[type].undefined && BoxContains(world.types[type], lx, lz)) {
                found = true;
                break;
            }
        }
        if (!found) return;
    }
    const std::int64_t height =
        std::int64_t{topHeight(world.types[type], lx, lz)} + row * worldUnit + 5;
    if (double{y} <= static_cast<double>(height)) return;
    SubmitMesh(shadowMesh, TruncToInt(x), TruncToInt(static_cast<double>(height)), TruncToInt(z), 0,
               0, yaw, 0, 0);
}

} // namespace scene

void DrawShadow(const World& world, const Mesh* shadowMesh, std::int32_t yaw, float x, float y,
                float z) {
    const PlayerRecord& player = world.players[std::clamp(world.localPlayer, 0, kPlayerCount - 1)];
    scene::DrawShadowInBox(
        world, ViewBoxAround(world.grid, player.cameraX, player.cameraY, player.cameraZ),
        shadowMesh, yaw, x, y, z);
}
