#include "world/player_control.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "world/behaviours.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/in_game_menu.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

constexpr float kJumpSpeed = 1280.0f / 7.0f; // 182.857
constexpr float kSpringSpeed = 435.2f;
constexpr float kJumpFallLimit = 51.2f;         // no jump while falling faster
constexpr float kLevelPitchFallSpeed = 85.333f; // slower falls keep the view level
constexpr std::int32_t kStepVolume = 254;
constexpr std::int32_t kRefillDelay = 10000;
constexpr float kDimLight = 2000.0f;
constexpr float kFullLight = 5000.0f;
constexpr std::int32_t kMaxLives = 99;

bool held(const PlayerRecord& p, Control c) {
    return p.controls[c] != 0;
}

bool newPress(const PlayerRecord& p, Control c) {
    return p.controls[c] && !p.previousControls[c];
}

void playAt(const PlayerRecord& p, TSoundBuffer* sound, std::int32_t volume) {
    TriggerSound(RoundEven(p.x), RoundEven(p.y), RoundEven(p.z), sound, volume);
}

// The speed of a climb step: the motion step scales it by the frame time, so
// it is given here for the 50 ms frame and kept at every frame time.
float climbSpeed(const PlayerRecord& p) {
    return 2.0f * static_cast<float>(p.walkSpeed) * 50.0f / 90.0f;
}

// Takes what lies in the player's own cell. Every check reads the type found
// at the start, so a type with several pick-up flags gives each of them.
void pickUp(PlayerRecord& p) {
    const int cx = CellOf(p.x), cy = CellOf(p.y), cz = CellOf(p.z);
    const int typeIndex = cellAt(cx, cy, cz);
    const ObjectType& t = objectTypes[typeIndex];
    const auto take = [&](GameEventCode code) {
        SendGameEvent(code, cx, cy, cz, typeIndex);
        playAt(p, t.ActionSound, t.ActionVolume);
        setCell(cx, cy, cz, 0);
    };
    if (t.Lingot) {
        SendGameEvent(kEventIngot, cx, cy, cz, typeIndex);
        playAt(p, t.ActionSound, t.ActionVolume);
        TakeIngot(cx, cy, cz); // empties the cell, and opens the door after the last one
    }
    if (t.Timer) {
        take(kEventTimer);
        timerRunning = 1;
        timeLeftMs = SaturateToInt32(std::int64_t{timeLeftMs} + t.TimerDuration); // any data value
    }
    if (t.Spring) {
        playAt(p, t.ActionSound, t.ActionVolume);
        p.fallSpeed = kSpringSpeed;
    }
    if (t.OneUp) {
        take(kEventExtraLife);
        if (p.lives < kMaxLives) p.lives += 1;
    }
    if (t.Light) {
        take(kEventLight);
        p.lightTarget = p.lightTarget == kFullLight ? kDimLight : kFullLight;
    }
}

void restingPose(PlayerRecord& p) {
    const bool anyControl =
        std::any_of(p.controls.begin(), p.controls.end(), [](std::uint8_t c) { return c != 0; });
    if (!anyControl && !p.onLadder) {
        p.pose = kPoseStand;
        p.poseBlendMs = 200;
    }
    if (!p.onGround && !p.onLadder) {
        p.pose = kPoseFall;
        p.poseBlendMs = 100;
    }
}

void cameraKeys(PlayerRecord& p) {
    if (p.cameraCloser && !p.previousCameraCloser && p.cameraDistance >= kCameraDistanceStep) {
        p.cameraDistance -= kCameraDistanceStep;
        PlayInterfaceSound(InterfaceSound::MenuSelect);
    }
    if (p.cameraFarther && !p.previousCameraFarther && p.cameraDistance < kFarthestCameraDistance) {
        p.cameraDistance += kCameraDistanceStep;
        PlayInterfaceSound(InterfaceSound::MenuSelect);
    }
}

// One climbing step: the phase runs on and the two ladder poses alternate.
void climb(PlayerRecord& p, float direction) {
    p.vy = direction * climbSpeed(p);
    p.pitchTarget = direction * 6000.0f;
    p.walkPhase += frameScaled(0.4f);
    if (p.walkPhase > 1.0f) {
        p.walkPhase = 0;
        p.pose = p.pose == kPoseLadder1 ? kPoseLadder2 : kPoseLadder1;
        p.poseBlendMs = 200;
        playAt(p, p.stepSound, kStepVolume);
    }
}

// One walking step forward (+1) or back (-1).
void walk(PlayerRecord& p, float direction) {
    p.vx += direction * frameScaled(AngleSin(p.heading) * static_cast<float>(p.walkSpeed));
    p.vz += direction * frameScaled(AngleCos(p.heading) * static_cast<float>(p.walkSpeed));
    p.walkPhase += frameScaled(0.8f);
    if (p.walkPhase > 1.0f && p.onGround) {
        p.walkPhase = 0;
        p.pose = p.pose >= 1 && p.pose < 4 ? p.pose + 1 : 1;
        p.poseBlendMs = 200;
        if (p.pose == 1 || p.pose == 3) playAt(p, p.stepSound, kStepVolume);
    }
    // The landing test sets it again while he stays on the ground.
    if (p.onGround && !held(p, kJump)) p.onGround = 0;
}

void turn(PlayerRecord& p) {
    if (held(p, kTurnRight)) {
        p.turnRate = frameScaled(static_cast<float>(p.turnSpeed));
        p.rollTarget = 500;
    }
    if (held(p, kTurnLeft)) {
        p.turnRate = -frameScaled(static_cast<float>(p.turnSpeed));
        p.rollTarget = -500;
    }
}

void actOnBusyPose(PlayerRecord& p, std::int32_t blendMs, std::int32_t busyMs) {
    p.pose = kPoseAction;
    p.poseBlendMs = blendMs;
    p.busyMs = busyMs;
}

// The action command on the action cell, whose type is read once.
void act(PlayerRecord& p) {
    const auto [x, y, z] = p.actionCell;
    const int typeIndex = cellAt(x, y, z);
    const ObjectType& a = objectTypes[typeIndex];
    if (a.Dig) {
        digHole(x, y, z, kRefillDelay);
        actOnBusyPose(p, 250, 500);
        SendGameEvent(kEventDig, x, y, z, kRefillDelay);
    }
    // Only a block at the height of his body can be pushed.
    if (a.CanPush &&
        std::fabs(p.y - 512.0f * static_cast<float>(y)) < static_cast<float>(p.height)) {
        const std::int32_t heading = RoundEven(p.heading);
        pushBlock(x, y, z, heading);
        actOnBusyPose(p, 100, 500);
        SendGameEvent(kEventPush, x, y, z, heading);
    }
    if (a.Lever) {
        operateLever(x, y, z);
        actOnBusyPose(p, 100, 300);
        SendGameEvent(kEventLever, x, y, z, 0);
    }
}

// Jump, walking, climbing, turning, the action and taking hold of a ladder.
// Returns early where a ladder move ends the frame's control.
void move(PlayerRecord& p) {
    if (held(p, kJump)) {
        if (p.onLadder) {
            p.onLadder = 0;
            p.fallSpeed = kJumpSpeed;
            return;
        }
        if (std::fabs(p.fallSpeed) < kJumpFallLimit && p.onGround) {
            p.fallSpeed = kJumpSpeed;
            p.onGround = 0;
        }
    }

    if (held(p, kLook)) {
        if (held(p, kForward)) p.pitchTarget = -6000;
        if (held(p, kBack)) p.pitchTarget = 6000;
        turn(p);
    } else {
        if (held(p, kForward)) {
            if (p.onLadder) {
                climb(p, 1.0f);
                return;
            }
            walk(p, 1.0f);
        }
        if (held(p, kBack)) {
            if (p.onLadder) {
                // Stepping off the bottom of the ladder.
                if (!objectTypes[cellAt(CellOf(p.x), CellOf(p.y - static_cast<float>(p.height)),
                                        CellOf(p.z))]
                         .Ladder)
                    p.onLadder = 0;
                climb(p, -1.0f);
                return;
            }
            walk(p, -1.0f);
        }
        turn(p);
    }

    if (held(p, kAction)) act(p);

    if (held(p, kForward)) {
        if (p.onLadder) {
            p.onLadder = 0;
            return;
        }
        TakeLadder(p);
    }
}

} // namespace

void playerControl() {
    PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    if (p.busyMs > 0) return;

    pickUp(p);
    restingPose(p);
    if (world.menu.open) {
        RunInGameMenu(p);
        return;
    }

    p.pitchTarget = std::fabs(p.fallSpeed) <= kLevelPitchFallSpeed
                        ? 0.0f
                        : std::clamp(p.fallSpeed * 40.0f, -7000.0f, 7000.0f);
    p.rollTarget = 0;
    cameraKeys(p);
    move(p);

    if (newPress(p, kMenu)) OpenInGameMenu(p);
}

void TakeLadder(PlayerRecord& p) {
    const int cx = CellOf(p.x), cz = CellOf(p.z);
    const ObjectType& l = objectTypes[cellAt(cx, CellOf(p.y), cz)];
    if (!l.Ladder) return;

    const float halfWidth = static_cast<float>(p.width / 2);
    const float left = 512.0f * static_cast<float>(cx);
    const float front = 512.0f * static_cast<float>(cz);
    const float middleX = left + static_cast<float>(l.Xmin + (l.Xmax - l.Xmin) / 2);
    const float middleZ = front + static_cast<float>(l.Zmin + (l.Zmax - l.Zmin) / 2);
    const float sx = AngleSin(p.heading) * 512.0f;
    const float sz = AngleCos(p.heading) * 512.0f;
    const bool wideInX = (l.Xmax - l.Xmin) > (l.Zmax - l.Zmin);

    // He takes hold along z when facing mostly along z a ladder wide in x,
    // else along x: the same steps on either axis.
    const bool alongZ = std::fabs(sz) >= std::fabs(sx) && wideInX;
    float& along = alongZ ? p.z : p.x;
    float& across = alongZ ? p.x : p.z;
    float& offsetAlong = alongZ ? p.ladderOffsetZ : p.ladderOffsetX;
    float& offsetAcross = alongZ ? p.ladderOffsetX : p.ladderOffsetZ;
    const float toward = alongZ ? sz : sx;
    const float corner = alongZ ? front : left;
    const float low = static_cast<float>(alongZ ? l.Zmin : l.Xmin);
    const float high = static_cast<float>(alongZ ? l.Zmax : l.Xmax);

    const float edge = toward > 0 ? corner + low - halfWidth : corner + high + halfWidth;
    if (toward > 0 ? !(along <= edge) : !(along >= edge)) return;
    along = edge;
    across = alongZ ? middleX : middleZ;
    offsetAcross = 0;
    offsetAlong = toward > 0 ? halfWidth : -halfWidth;
    const std::int32_t heading = alongZ ? (toward > 0 ? 0 : 16384) : (toward > 0 ? 8192 : 24576);
    p.heading = static_cast<float>(heading);
    p.ladderHeading = heading;
    p.vx = p.vz = 0;
    p.onLadder = 1;
}
