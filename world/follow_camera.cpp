// The local player's camera: at his eyes in first person, or a follow camera
// behind him. The follow point eases behind and above him as the camera
// always did; the eye stands there while the way from his head to it is
// open. A wall in the way draws the eye in along that way to just before
// it, eased both ways, and with no room left behind him the view fades into
// his own.
#include "world/follow_camera.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/angles.h"
#include "world/aim_angles.h"
#include "world/camera_sight.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

constexpr float kEyeHeight = 50.0f;
constexpr float kTurn = 32768.0f;

// The eye keeps 24 units from anything (the picture clips at 10), and is
// eased to stop up to 64 before an obstruction: that margin widens from the
// head out, so that a wall coming near the way draws the eye in before it
// cuts the way.
constexpr Clearance kEyeRoom{24.0f, 24.0f, 0.0f};
constexpr Clearance kWallRoom{24.0f, 64.0f, 0.2f};
// How far ahead a wall about to come between the head and the body is
// looked for: four steps of 50 ms.
constexpr int kLookAheadSteps = 4;
constexpr float kLookAheadStepMs = 50.0f;
// Rates per 90 ms at which the eye is drawn in and let out again.
constexpr float kDrawInRate = 0.9f;
constexpr float kLetOutRate = 0.2f;
// Nearer the head than kFadeEnd the view fades into the hero's own, fully
// at kFadeStart.
constexpr float kFadeStart = 120.0f;
constexpr float kFadeEnd = 260.0f;
// How high above the top of lava or water the follow point is kept.
constexpr float kLiftClearance = 130.0f;

// Moves the follow point as a body would move through empty cells: less
// than a cell per call, kept within the grid's box and above its floor row.
void drift(PlayerRecord& p, float vx, float vy, float vz) {
    const auto step = [](float v) { return std::isnan(v) ? 0.0f : std::clamp(v, -510.0f, 510.0f); };
    const auto size = [](std::int32_t cells) { return static_cast<float>(cells) * worldUnit; };
    p.followX = std::clamp(p.followX + step(vx), 0.0f, size(worldGrid.sizeX));
    p.followZ = std::clamp(p.followZ + step(vz), 0.0f, size(worldGrid.sizeZ));
    p.followY = std::clamp(p.followY + step(vy), 256.0f, std::max(256.0f, size(worldGrid.sizeY)));
}

// The follow point: eases towards a point behind and above the player, and
// closes in along its view when it has fallen too far behind. It passes
// through walls; the eye stays on the hero's side of them.
void followPlayer(PlayerRecord& p, SightPoint at, float distance) {
    const AimAngles aim = aimAngles(p.followX, p.followY, p.followZ, at.x, at.y, at.z);
    const float dx = at.x - p.followX, dy = at.y - p.followY, dz = at.z - p.followZ;
    const float dist = std::sqrt(dx * dx + dy * dy + dz * dz);
    const auto heading = static_cast<float>(TruncToInt(p.heading));
    const auto pitch = static_cast<float>(TruncToInt(p.pitch));

    const float goalX =
        AngleCos(24576.0f - heading) * distance * AngleCos(pitch) + at.x - p.followX;
    const float goalY = dist * 0.5f + at.y - AngleSin(pitch) * distance - p.followY;
    const float goalZ =
        AngleSin(24576.0f - heading) * distance * AngleCos(pitch) + at.z - p.followZ;
    drift(p, frameScaled(0.1f * goalX), frameScaled(0.2f * goalY), frameScaled(0.1f * goalZ));

    if (dist <= distance) return;
    const float k = frameScaled((dist - distance) / 3.0f);
    const auto yaw = static_cast<float>(RoundEven(aim.yaw));
    const auto up = static_cast<float>(RoundEven(aim.pitch));
    const float dirX = AngleSin(yaw) * AngleCos(up);
    const float dirY = AngleSin(up);
    const float dirZ = AngleCos(yaw) * AngleCos(up);
    drift(p, k * dirX, k * dirY, k * dirZ);
    // Far behind (after a teleport or a fall): catch up by up to a cell's
    // length more, growing with the lag so that the view never jumps.
    const float extra = std::clamp(dist - distance - 768.0f, 0.0f, 512.0f);
    drift(p, extra * dirX, extra * dirY, extra * dirZ);
}

// Where the camera follows the hero: his body; once dead and sunk into
// lava, water or refilled soil, the place where he went in, as if he stood
// on its top, so that the camera stays above it.
SightPoint anchorOf(const CameraRoom& room, const PlayerRecord& p) {
    SightPoint at{p.x, p.y, p.z};
    if (!p.dead) return at;
    const float halfHeight = 0.5f * static_cast<float>(p.height);
    for (int cells = 0; cells < 4; ++cells) {
        const float feet = at.y - halfHeight + 1.0f;
        if (!EyeBlocked(room, {at.x, feet, at.z}, 0.0f)) break;
        const float standing =
            static_cast<float>(std::floor(feet / worldUnit) + 1) * worldUnit + halfHeight;
        if (standing + kEyeHeight + kEyeRoom.nearRadius > room.ceiling) break;
        at.y = standing;
    }
    return at;
}

// The follow camera's body passes through lava and water as through air
// (they stop no body); it is kept above them instead.
float keptOutOfLiquid(float x, float y, float z) {
    for (int cells = 0; cells < 4; ++cells) {
        const int row = CellOf(y);
        const ObjectType& t = objectTypes[cellAt(CellOf(x), row, CellOf(z))];
        if (t.undefined || !t.Cube || t.Collision) break;
        y = static_cast<float>(row + 1) * worldUnit + kLiftClearance;
    }
    return y;
}

// The room the way from the head to the body leaves now and in the next
// 200 ms if both go on as they moved in this frame, as far as the head stays
// free: a wall about to cut the way draws the eye in before it does.
float roomAhead(const CameraRoom& room, SightPoint head, SightPoint body, SightPoint headStep,
                SightPoint bodyStep) {
    float reach = ClearReach(room, head, body, kWallRoom);
    const float perStep = kLookAheadStepMs / static_cast<float>(std::max(frameMs, 1));
    for (int i = 1; i <= kLookAheadSteps; ++i) {
        const auto ahead = [&](SightPoint at, SightPoint step) {
            const float n = static_cast<float>(i) * perStep;
            return SightPoint{at.x + n * step.x, at.y + n * step.y, at.z + n * step.z};
        };
        const SightPoint nextHead = ahead(head, headStep);
        if (EyeBlocked(room, nextHead, kEyeRoom.nearRadius)) break;
        reach = std::min(reach, ClearReach(room, nextHead, ahead(body, bodyStep), kWallRoom));
    }
    return reach;
}

float angleBetween(float from, float to) {
    float d = std::fmod(to - from, kTurn);
    if (d > kTurn / 2) d -= kTurn;
    if (d < -kTurn / 2) d += kTurn;
    return d;
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

void firstPerson(PlayerRecord& p) {
    // A dead hero sinks; his eyes stay above what he sank into.
    const SightPoint at = anchorOf(RoomAround(world, p), p);
    p.cameraX = at.x;
    p.cameraY = at.y + kEyeHeight;
    p.cameraZ = at.z;
    p.cameraYaw = p.heading;
    p.cameraPitch = p.pitch;
    p.cameraRoll = p.roll;
    // A follow view chosen later starts from here.
    p.followX = p.cameraX;
    p.followY = p.cameraY;
    p.followZ = p.cameraZ;
    p.cameraPull = 0;
    p.cameraFade = 1;
}

} // namespace

void PlaceCamera(PlayerRecord& p) {
    const float distance = p.cameraDistance;
    if (!(distance > 0)) {
        firstPerson(p);
        return;
    }
    const CameraRoom room = RoomAround(world, p);
    const SightPoint at = anchorOf(room, p);
    const SightPoint bodyBefore{p.followX, p.followY, p.followZ};
    followPlayer(p, at, distance);
    p.followY = keptOutOfLiquid(p.followX, p.followY, p.followZ);

    const SightPoint head{at.x, HeadOf(p).y + (at.y - p.y), at.z};
    const SightPoint body{p.followX, p.followY, p.followZ};
    const float dx = body.x - head.x, dy = body.y - head.y, dz = body.z - head.z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);

    // How far the eye stands in from the body: eased towards the room the
    // way leaves, but never behind the first thing in it.
    const SightPoint bodyStep{body.x - bodyBefore.x, body.y - bodyBefore.y, body.z - bodyBefore.z};
    const SightPoint headStep{frameScaled(p.vx), frameScaled(p.vy + p.fallSpeed),
                              frameScaled(p.vz)};
    const float softReach = roomAhead(room, head, body, headStep, bodyStep);
    const float hardReach = ClearReach(room, head, body, kEyeRoom);
    const float pullGoal = std::max(length - softReach, 0.0f);
    const float rate = pullGoal > p.cameraPull ? kDrawInRate : kLetOutRate;
    p.cameraPull += RelaxStep(p.cameraPull, pullGoal, rate);
    p.cameraPull = std::clamp(p.cameraPull, length - hardReach, length);
    const float reach = length - p.cameraPull;
    const float t = length > 0 ? reach / length : 0.0f;
    const SightPoint eye{head.x + dx * t, head.y + dy * t, head.z + dz * t};

    // Close to the head the view fades into the hero's own eyes.
    const float fade = std::clamp((kFadeEnd - reach) / (kFadeEnd - kFadeStart), 0.0f, 1.0f);
    p.cameraFade = fade * fade * (3 - 2 * fade);
    const float eyeY = at.y + kEyeHeight;
    p.cameraX = lerp(eye.x, at.x, p.cameraFade);
    p.cameraY = lerp(eye.y, eyeY, p.cameraFade);
    p.cameraZ = lerp(eye.z, at.z, p.cameraFade);
    // The way between the two eyes can graze a corner: then his own.
    if (p.cameraFade > 0 &&
        EyeBlocked(room, {p.cameraX, p.cameraY, p.cameraZ}, kEyeRoom.nearRadius)) {
        p.cameraX = at.x;
        p.cameraY = eyeY;
        p.cameraZ = at.z;
    }

    const AimAngles look = aimAngles(p.cameraX, p.cameraY, p.cameraZ, at.x, at.y, at.z);
    p.cameraYaw = look.yaw + angleBetween(look.yaw, p.heading) * p.cameraFade;
    p.cameraPitch = look.pitch + angleBetween(look.pitch, p.pitch) * p.cameraFade;
    if (p.cameraYaw < 0) p.cameraYaw += kTurn;
    if (p.cameraPitch < 0) p.cameraPitch += kTurn;
    p.cameraRoll = 0;
}

bool EyeInsideFigure(const PlayerRecord& p) {
    // The figure stands well within his body's box: within its half width of
    // his axis, from his feet to a little over his head.
    const float halfWidth = 0.5f * static_cast<float>(p.width);
    const float halfHeight = 0.5f * static_cast<float>(p.height);
    return std::hypot(p.cameraX - p.x, p.cameraZ - p.z) < halfWidth &&
           p.cameraY > p.y - halfHeight && p.cameraY < p.y + halfHeight + 20.0f;
}
