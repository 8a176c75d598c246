// The per-frame animation step of the world: textures, ambient sounds due,
// every type's own animation, pushed blocks, holes and transition slots.
#pragma once

#include <cstdint>

// Tick of the last texture animation step.
extern std::int32_t lastTextureStep;

void updateObjectAnimation();

// The motion of every pushed block for this frame; blocks that stopped settle.
void MoveSlidingBlocks();

// The same with another collision routine in place of moveBody, for runs
// that want the block motion without the grid's walls.
using BodyMover = bool (*)(float& x, float& y, float& z, float vx, float vy, float vz,
                           std::int32_t width, std::int32_t height, std::int32_t stepHeight);
void MoveSlidingBlocksWith(BodyMover move);
