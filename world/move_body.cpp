// STAND-IN: moveBody without collision, until the collision routine is built.
// It keeps the per-call step limit and reports no contact; everything else
// about walls, steps and floors is missing here.
#include <algorithm>

#include "world/movement.h"

bool moveBody(float& x, float& y, float& z, float vx, float vy, float vz, std::int32_t,
              std::int32_t, std::int32_t) {
    x += std::clamp(vx, -510.0f, 510.0f);
    y += std::clamp(vy, -510.0f, 510.0f);
    z += std::clamp(vz, -510.0f, 510.0f);
    return false;
}
