// Player motion: the local player's kill and exit tests, gravity and the step
// off the top of a ladder, then turning, the view's pitch and roll, the body
// move through the grid, damping and landing for every player.
#include "world/player_motion.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/movement.h"
#include "world/player_death.h"
#include "world/world.h"

namespace {

constexpr float kGravity = 24.0f;         // fall speed gained per 90 ms
constexpr float kLadderTopLift = 102.4f;  // upward speed when stepping off a ladder's top
constexpr float kViewRelaxRate = 0.2f;    // pitch and roll approach their targets
constexpr float kHurtLanding = -200.0f;   // landing faster than this hurts
constexpr float kAudibleLanding = -50.0f; // landing faster than this is heard
constexpr std::int32_t kLandingVolume = 254;
constexpr std::int32_t kCrouchBlendMs = 300;

// Set once the exit has asked for the level's end, so it asks only once.
bool exitReached = false;

bool sameCellAsExit(const PlayerRecord& p) {
    return CellOf(p.x) == levelState.exitX && CellOf(p.y) == levelState.exitY &&
           CellOf(p.z) == levelState.exitZ;
}

void checkExit(const PlayerRecord& p) {
    // Tested after the kill test of the same frame: a kill that left lives
    // started no transition, so the exit still wins; the last life's kill
    // has started the level's end, and the exit no longer counts.
    if (exitReached || !sameCellAsExit(p) || TransitionRunning()) return;
    exitReached = true;
    EndLevel(kLevelCompleted);
}

void leaveLadderAtTop(PlayerRecord& p) {
    p.fallSpeed = 0;
    const ObjectType& cell = objectTypes[cellAt(CellOf(p.x), CellOf(p.y), CellOf(p.z))];
    if (cell.Ladder && !cell.undefined) return;
    p.onLadder = 0;
    p.fallSpeed = kLadderTopLift;
    p.x += p.ladderOffsetX;
    p.z += p.ladderOffsetZ;
}

void land(PlayerRecord& p) {
    if (p.fallSpeed < 0) p.onGround = 1;
    const std::int32_t x = RoundEven(p.x), y = RoundEven(p.y), z = RoundEven(p.z);
    if (p.fallSpeed < kHurtLanding) {
        p.busyMs = RoundEven(std::fabs(p.fallSpeed));
        TriggerSound(x, y, z, p.hurtSound, kLandingVolume);
        p.pose = kPoseCrouch;
        p.poseBlendMs = kCrouchBlendMs;
    } else if (p.fallSpeed < kAudibleLanding) {
        TriggerSound(x, y, z, p.stepSound, kLandingVolume);
    }
    p.fallSpeed = 0;
}

void moveBodyOf(PlayerRecord& p) {
    p.heading += p.turnRate;
    Damp(p.turnRate);
    p.pitch += RelaxStep(p.pitch, p.pitchTarget, kViewRelaxRate);
    p.roll += RelaxStep(p.roll, p.rollTarget, kViewRelaxRate);
    const bool contact = moveBody(p.x, p.y, p.z, frameScaled(p.vx), frameScaled(p.vy + p.fallSpeed),
                                  frameScaled(p.vz), p.width, p.height, p.stepHeight);
    Damp(p.vx);
    Damp(p.vy);
    Damp(p.vz);
    if (contact && std::fabs(p.fallSpeed) > 1.0f) land(p);
}

} // namespace

bool FeetInDeadlyShape(const PlayerRecord& p) {
    const float feet = p.y - static_cast<float>(p.height) * 0.5f + 5.0f;
    const ObjectType& type = objectTypes[cellAt(CellOf(p.x), CellOf(feet), CellOf(p.z))];
    return (type.Death || type.Dig) && pointInShape(p.x, feet, p.z);
}

void Damp(float& v) {
    float d = frameScaled(v * 0.5f);
    // A long frame would take away more than the whole velocity and turn it round.
    if (!(std::fabs(d) <= std::fabs(v))) d = v;
    v -= d;
}

void ResetLevelExit() {
    exitReached = false;
}

void MovePlayers() {
    if (inGameMenu.open) return;
    PlayerRecord& local = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    if (!local.dead && FeetInDeadlyShape(local)) killPlayer();
    checkExit(local);
    local.fallSpeed -= frameScaled(kGravity);
    if (local.onLadder) leaveLadderAtTop(local);

    const int last = std::clamp(lastPlayer, 0, kPlayerCount - 1);
    for (int i = 0; i <= last; ++i) moveBodyOf(players[i]);
}
