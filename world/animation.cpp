// STAND-IN until the animation step is built.
#include "world/animation.h"

std::int32_t lastTextureStep = 0;

void updateObjectAnimation() {}
void MoveSlidingBlocks() {}
