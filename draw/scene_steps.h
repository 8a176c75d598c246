// The steps DrawPlayFrame is made of, shared by the scene's source files.
#pragma once

#include <cstdint>

#include "world/view_box.h"

struct Mesh;
struct PlayerRecord;
struct World;

namespace scene {

void DrawSky(const World& world, const PlayerRecord& player);
void DrawTransitionSlots(const World& world, const ViewBox& box);
void DrawSlidingBlocks(const World& world);
void DrawCells(const World& world, const ViewBox& box, const PlayerRecord& player);
// The same cells for a far view: walked in the grid's memory order with runs
// of empty cells skipped, and only the cube sides turned toward the camera
// submitted. The picture is DrawCells' but for polygons of equal depth.
void DrawCellsFar(const World& world, const ViewBox& box, const PlayerRecord& player);
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
