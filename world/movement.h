// Body movement through the grid: the one collision routine for players,
// sentries, pushed blocks and the follow camera.
#pragma once

#include <cstdint>

// Moves the upright box centred at (x, y, z), width square in plan and
// height high, by (vx, vy, vz) world units. True when the vertical movement
// was stopped or corrected.
bool moveBody(float& x, float& y, float& z, float vx, float vy, float vz, std::int32_t width,
              std::int32_t height, std::int32_t stepHeight);
