#include "route_player.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

constexpr float kTurnDone = 200.0f; // angle units
constexpr float kGotoDone = 90.0f;  // world units from the column's centre
constexpr float kStillSpeed = 8.0f; // per 90 ms

PlayerRecord& hero() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

// The signed turn from `from` to `to`, in (-16384, 16384].
float turnBetween(float from, float to) {
    float d = std::fmod(to - from, 32768.0f);
    if (d > 16384.0f) d -= 32768.0f;
    if (d <= -16384.0f) d += 32768.0f;
    return d;
}

// Part of a speed a frame's damping takes away, and how far a body still
// goes at that speed (per 90 ms) once nothing pushes it.
float dampShare() {
    return std::clamp(static_cast<float>(frameMs) / 180.0f, 0.01f, 1.0f);
}
float glide(float speed) {
    return std::fabs(speed) / dampShare();
}

// Keys that turn the hero toward `target`, letting him drift into it.
void steer(KeySet& keys, float target, float tolerance) {
    const PlayerRecord& p = hero();
    const float error = turnBetween(p.heading, target);
    const float drift = p.turnRate / dampShare();
    if (error - drift > tolerance) keys.set(kVkRight);
    if (error - drift < -tolerance) keys.set(kVkLeft);
}

float headingTo(float dx, float dz) {
    const float h = std::atan2(dx, dz) * 16384.0f / 3.1415f;
    return h < 0 ? h + 32768.0f : h;
}

std::string where() {
    const PlayerRecord& p = hero();
    char text[160];
    std::snprintf(text, sizeof text, "cell %d %d %d (%.0f, %.0f, %.0f, heading %.0f)", CellOf(p.x),
                  CellOf(p.y), CellOf(p.z), p.x, p.y, p.z, p.heading);
    return text;
}

} // namespace

void RoutePlayer::startStep(std::int32_t now) {
    started_ = true;
    stepStart_ = now;
    phase_ = 0;
}

KeySet RoutePlayer::NextKeys(std::int32_t now) {
    now_ = now;
    KeySet keys;
    while (!Finished() && failure_.empty()) {
        if (!started_) startStep(now);
        const RouteStep& step = steps_[index_];
        if (TickDifference(stepStart_, now) > step.timeoutMs) {
            failure_ = "route line " + std::to_string(step.line) + " (" + step.text +
                       ") timed out at frame " + std::to_string(world.frame) +
                       " with the hero at " + where();
            break;
        }
        bool done = false;
        keys = keysFor(step, done);
        if (!done) break;
        ++index_;
        started_ = false;
        keys.reset();
    }
    return keys;
}

KeySet RoutePlayer::keysFor(const RouteStep& step, bool& done) {
    const PlayerRecord& p = hero();
    KeySet keys;
    const float speed = std::hypot(p.vx, p.vz);
    switch (step.kind) {
    case RouteKind::Face: {
        const float target = static_cast<float>(step.a);
        done =
            std::fabs(turnBetween(p.heading, target)) < kTurnDone && std::fabs(p.turnRate) < 20.0f;
        if (!done) steer(keys, target, kTurnDone / 2);
        break;
    }
    case RouteKind::Goto: {
        const float dx = static_cast<float>(step.a) * 512 + 256 - p.x;
        const float dz = static_cast<float>(step.b) * 512 + 256 - p.z;
        const float distance = std::hypot(dx, dz);
        if (distance < kGotoDone && speed < kStillSpeed) {
            done = true;
            break;
        }
        if (distance < kGotoDone) break; // let him come to rest
        const float target = headingTo(dx, dz);
        const float error = std::fabs(turnBetween(p.heading, target));
        steer(keys, target, 150.0f);
        // Walk when roughly facing the goal and it lies beyond his glide.
        const float glideNow = glide(speed) * static_cast<float>(frameMs) / 90.0f;
        if (error < 2500.0f && distance > glideNow + kGotoDone / 2) keys.set(kVkUp);
        break;
    }
    case RouteKind::Climb:
        // Hold forward onto the ladder and up it until he steps off the top.
        if (phase_ == 0 && p.onLadder) phase_ = 1;
        if (phase_ == 1 && !p.onLadder) phase_ = 2;
        if (phase_ == 2 && p.onGround) {
            done = true;
            break;
        }
        if (phase_ < 2) keys.set(kVkUp);
        break;
    case RouteKind::Jump:
    case RouteKind::Action:
        // One frame's press once he can take it.
        if (phase_ == 1) {
            done = true;
            break;
        }
        if (p.busyMs > 0 || (step.kind == RouteKind::Jump && !p.onGround)) break;
        keys.set(step.kind == RouteKind::Jump ? kVkSpace : kVkShift);
        phase_ = 1;
        break;
    case RouteKind::Wait:
        done = TickDifference(stepStart_, now_) >= step.a;
        break;
    case RouteKind::WaitSettled: {
        const bool sliding = slidingBlockCount >= 0;
        const bool animating =
            std::any_of(transitionSlots.begin(), transitionSlots.end(),
                        [](const TransitionSlot& slot) { return slot.active != 0; });
        done = !sliding && !animating && p.onGround && speed < kStillSpeed && p.busyMs <= 0;
        break;
    }
    case RouteKind::WaitCell:
        done = CellOf(p.x) == step.a && CellOf(p.y) == step.b && CellOf(p.z) == step.c;
        break;
    case RouteKind::WaitWon:
        done = world.wonFrame >= 0;
        break;
    }
    return keys;
}
