// The local player's camera: at his eyes in first person, or a follow camera
// that moves through the grid as a body behind him.
#include "world/follow_camera.h"

#include <cmath>
#include <cstdint>

#include "engine/angles.h"
#include "world/aim_angles.h"
#include "world/frame_clock.h"
#include "world/movement.h"
#include "world/world.h"

namespace {

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
