#include "world/aim_angles.h"

#include <cmath>

namespace {

// The constants of the stored data: angles were always derived with these.
constexpr double kHalfTurn = 3.14159;
constexpr double kQuarterTurn = 1.570795;

float toAngleUnits(double radians) {
    double units = radians * 16384.0 / kHalfTurn;
    if (units < 0) units += 32768.0;
    return static_cast<float>(units);
}

} // namespace

AimAngles aimAngles(float fromX, float fromY, float fromZ, float toX, float toY, float toZ) {
    const double dx = double{toX} - fromX;
    const double dy = double{toY} - fromY;
    const double dz = double{toZ} - fromZ;

    double a = 0;
    if (dz != 0) {
        a = std::atan(dx / dz);
        if (dz < 0) a += kHalfTurn;
    } else {
        a = dx >= 0 ? kQuarterTurn : -kQuarterTurn;
    }

    // Straight above or below: look up or down as the target lies, and level
    // when both points coincide (a camera placed on its target).
    const double plan = std::sqrt(dx * dx + dz * dz);
    double b = 0;
    if (plan != 0)
        b = std::atan(dy / plan);
    else if (dy != 0)
        b = dy > 0 ? kQuarterTurn : -kQuarterTurn;

    return AimAngles{toAngleUnits(a), toAngleUnits(b)};
}
