#include "world/player_death.h"

#include <algorithm>

#include "engine/angles.h"
#include "world/game_services.h"
#include "world/world.h"

namespace {

constexpr std::int32_t kDeathVolume = 254;
constexpr std::int32_t kDeathBusyMs = 2000; // the dead pose is held this long
constexpr float kDeathCameraDistance = 512; // the camera pulls back behind the hero
constexpr std::int32_t kDeathBlendMs = 700;

} // namespace

void killPlayer() {
    PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    // A level already won stays won while its closing transition runs.
    if (p.dead || world.wonFrame >= 0) return;
    const std::int32_t x = RoundEven(p.x), y = RoundEven(p.y), z = RoundEven(p.z);
    LogKill(x, y, z);
    TriggerSound(x, y, z, p.deathSound, kDeathVolume);
    p.lightTarget = 0;
    p.busyMs = kDeathBusyMs;
    p.dead = 1;
    p.savedCameraDistance = p.cameraDistance;
    p.cameraDistance = kDeathCameraDistance;
    p.walkPhase = 0;
    p.pose = kPoseDead;
    p.poseBlendMs = kDeathBlendMs;
    if (p.lives > 0) return;
    // No life left: the game is lost at once, seen from the usual distance.
    p.cameraDistance = p.savedCameraDistance;
    EndLevel(kLevelLost);
}
