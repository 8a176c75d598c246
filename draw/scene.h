// The play screen's picture: the camera of the local player, the sky, the
// cells around the camera, the objects in motion, players and sentries with
// their shadows, then the overlays (level title, radar, in-game menu). Also
// the screen-transition overlay and the shadow of a figure. Drawing only
// reads: UpdateLocalView has placed the camera, started the sounds and moved
// the level title before.
#pragma once

#include <cstdint>

struct Mesh;
struct World;

// The whole play-state picture of one frame, seen from the local player's
// camera.
void DrawPlayFrame(const World& world);

// Draws the first `level` faces (at most 16) of transition mesh `style`
// (0..2) over the picture; nothing when level <= 0.
void DrawTransition(int level, int style);

// Drops `shadowMesh` on the first surface under the figure at (x, y, z),
// turned by `yaw`; nothing when no surface lies below it within the rows
// drawn around the local player's camera.
void DrawShadow(const World& world, const Mesh* shadowMesh, std::int32_t yaw, float x, float y,
                float z);
