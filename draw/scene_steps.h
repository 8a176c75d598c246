// The steps DrawPlayFrame is made of, shared by the scene's source files.
#pragma once

#include <cstdint>

struct Mesh;
struct PlayerRecord;
struct World;
struct WorldGrid;

namespace scene {

// Cells drawn this frame: from lo to hi inclusive on each axis, around the
// camera cell c.
struct ViewBox {
    int cx = 0, cy = 0, cz = 0;
    int loX = 0, loY = 0, loZ = 0;
    int hiX = -1, hiY = -1, hiZ = -1;
};

ViewBox ViewBoxAround(const WorldGrid& grid, float cameraX, float cameraY, float cameraZ);

// Whether the cell lies less than 8 cells from the camera cell on every axis.
bool NearCameraCell(const ViewBox& box, float x, float y, float z);

void DrawSky(const World& world, const PlayerRecord& player);
void DrawTransitionSlots(const World& world, const ViewBox& box);
void DrawSlidingBlocks(const World& world);
void DrawCells(const World& world, const ViewBox& box, const PlayerRecord& player);
void DrawPlayers(const World& world, const ViewBox& box);
void DrawSentries(const World& world, const ViewBox& box);

// DrawShadow looking only at the rows of `box`: no shadow falls on a surface
// below the lowest drawn row.
void DrawShadowInBox(const World& world, const ViewBox& box, const Mesh* shadowMesh,
                     std::int32_t yaw, float x, float y, float z);

void DrawTitleOverlay(const World& world);
void DrawRadar(const World& world, const PlayerRecord& player);
void DrawInGameMenu(const World& world);

} // namespace scene
