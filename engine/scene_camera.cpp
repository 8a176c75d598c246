// The camera of the local player and the box of cells drawn around it.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/angles.h"
#include "engine/scene_steps.h"
#include "world/aim_angles.h"
#include "world/frame_clock.h"
#include "world/movement.h"
#include "world/world.h"

namespace scene {

namespace {

constexpr int kViewReach = 8;             // cells drawn on each side of the camera cell
constexpr std::int32_t kCameraBody = 280; // the follow camera moves as a 280-unit box
constexpr float kEyeHeight = 50.0f;

// The follow camera: eases towards a point behind and above the player, and
// closes in along its view when it has fallen too far behind.
void FollowPlayer(PlayerRecord& p, float distance) {
    const float dx = p.x - p.cameraX, dy = p.y - p.cameraY, dz = p.z - p.cameraZ;
    const float dist = std::sqrt(dx * dx + dy * dy + dz * dz);
    const auto heading = static_cast<float>(TruncToInt(p.heading));
    const auto pitch = static_cast<float>(TruncToInt(p.pitch));

    const float goalX = AngleCos(24576.0f - heading) * distance * AngleCos(pitch) + p.x - p.cameraX;
    const float goalY = dist * 0.5f + p.y - AngleSin(pitch) * distance - p.cameraY;
    const float goalZ = AngleSin(24576.0f - heading) * distance * AngleCos(pitch) + p.z - p.cameraZ;
    moveBody(p.cameraX, p.cameraY, p.cameraZ, frameScaled(0.1f * goalX), frameScaled(0.2f * goalY),
             frameScaled(0.1f * goalZ), kCameraBody, kCameraBody, p.stepHeight);

    if (dist <= distance) return;
    const float k = frameScaled((dist - distance) / 3.0f);
    const auto yaw = static_cast<float>(RoundEven(p.cameraYaw));
    const auto up = static_cast<float>(RoundEven(p.cameraPitch));
    const float dirX = AngleSin(yaw) * AngleCos(up);
    const float dirY = AngleSin(up);
    const float dirZ = AngleCos(yaw) * AngleCos(up);
    moveBody(p.cameraX, p.cameraY, p.cameraZ, k * dirX, k * dirY, k * dirZ, kCameraBody,
             kCameraBody, p.stepHeight);
    if (dist - distance > 768.0f) {
        // Far behind (after a teleport or a fall): jump a cell's length.
        p.cameraX += 512.0f * dirX;
        p.cameraY += 512.0f * dirY;
        p.cameraZ += 512.0f * dirZ;
    }
}

// Cell range [c - 8, c + 8] clipped to 0 below and to the size above; the
// upper end may be one past the grid, where cells read as empty.
void Reach(int c, int size, int& lo, int& hi) {
    lo = static_cast<int>(std::max<std::int64_t>(std::int64_t{c} - kViewReach, 0));
    hi = static_cast<int>(std::min<std::int64_t>(std::int64_t{c} + kViewReach, size));
}

bool Near(int cell, int c) {
    return std::llabs(std::int64_t{cell} - c) < kViewReach;
}

} // namespace

void PlaceCamera(PlayerRecord& p) {
    const float distance = p.cameraDistance;
    if (!(distance > 0)) {
        p.cameraX = p.x;
        p.cameraY = p.y + kEyeHeight;
        p.cameraZ = p.z;
        p.cameraYaw = p.heading;
        p.cameraPitch = p.pitch;
        p.cameraRoll = p.roll;
        return;
    }
    p.cameraRoll = 0;
    const AimAngles aim = aimAngles(p.cameraX, p.cameraY, p.cameraZ, p.x, p.y, p.z);
    p.cameraYaw = aim.yaw;
    p.cameraPitch = aim.pitch;
    FollowPlayer(p, distance);
}

ViewBox ViewBoxAround(float cameraX, float cameraY, float cameraZ) {
    ViewBox box;
    box.cx = cellOf(cameraX);
    box.cy = cellOf(cameraY);
    box.cz = cellOf(cameraZ);
    Reach(box.cx, worldGrid.sizeX, box.loX, box.hiX);
    Reach(box.cy, worldGrid.sizeY, box.loY, box.hiY);
    Reach(box.cz, worldGrid.sizeZ, box.loZ, box.hiZ);
    return box;
}

bool NearCameraCell(const ViewBox& box, float x, float y, float z) {
    return Near(cellOf(x), box.cx) && Near(cellOf(y), box.cy) && Near(cellOf(z), box.cz);
}

} // namespace scene
