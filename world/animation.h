// The per-frame animation step of the world: textures, ambient sounds due,
// every type's own animation, pushed blocks, holes and transition slots.
#pragma once

#include <cstdint>

// Tick of the last texture animation step.
extern std::int32_t lastTextureStep;

void updateObjectAnimation();

// The motion of every pushed block for this frame; blocks that stopped settle.
void MoveSlidingBlocks();
