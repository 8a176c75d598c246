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

// The hero's turn as the game moves it: a turn key sets the rate to the full
// rate, each frame adds the rate to the heading, then damping takes its share.
struct Turn {
    float heading = 0, rate = 0;
};

Turn turnFrame(Turn t, int key, float fullRate) {
    if (key != 0) t.rate = static_cast<float>(key) * fullRate;
    t.heading += t.rate;
    t.rate -= t.rate * dampShare();
    return t;
}

// The keys (+1 right, -1 left, 0 none), frame by frame, that bring the heading
// to rest nearest `target`. A single press turns the hero some 1800 units, so
// a close turn needs a press and a counter-press at the right moment: every
// plan of four stretches of about 90 ms, each holding a key, tapping it once
// or leaving it, is tried, and the shortest that comes to rest close enough
// wins (else the one that comes closest).
std::vector<int> planTurn(Turn now, float target, float fullRate) {
    constexpr int kStretches = 4;
    constexpr float kCloseEnough = kTurnDone * 0.6f;
    const int length = frameMs > 0 ? std::max(1, 90 / frameMs) : 1;
    // Hold right, hold left, leave, tap right, tap left (taps only where a
    // stretch has more than one frame).
    const int choices = length > 1 ? 5 : 3;
    int combinations = 1;
    for (int i = 0; i < kStretches; ++i) combinations *= choices;

    std::vector<int> best, keys;
    float bestMiss = 0;
    for (int code = 0; code < combinations; ++code) {
        keys.clear();
        for (int i = 0, c = code; i < kStretches; ++i, c /= choices) {
            const int choice = c % choices;
            const int key = choice == 0 ? 0 : choice % 2 == 1 ? 1 : -1;
            for (int f = 0; f < length; ++f) keys.push_back(choice <= 2 || f == 0 ? key : 0);
        }
        while (!keys.empty() && keys.back() == 0) keys.pop_back();
        Turn t = now;
        for (int key : keys) t = turnFrame(t, key, fullRate);
        float miss = std::fabs(turnBetween(t.heading + t.rate / dampShare(), target));
        if (miss < kCloseEnough) miss = 0;
        if (code == 0 || miss < bestMiss || (miss == bestMiss && keys.size() < best.size())) {
            best = keys;
            bestMiss = miss;
        }
    }
    return best;
}

float headingTo(float dx, float dz) {
    const float h = std::atan2(dx, dz) * 16384.0f / 3.1415f;
    return h < 0 ? h + 32768.0f : h;
}

// Whether every sentry keeps `cells` away (across the ground, in cells) from
// the straight way from the hero through the centres of the columns `way`.
bool wayClear(const std::vector<std::array<std::int32_t, 2>>& way, std::int32_t cells) {
    const PlayerRecord& p = hero();
    const double reach = cells * 512.0;
    double ax = p.x, az = p.z;
    for (const auto& [x, z] : way) {
        const double bx = x * 512.0 + 256, bz = z * 512.0 + 256;
        const double lx = bx - ax, lz = bz - az;
        const double length2 = lx * lx + lz * lz;
        for (int i = 1; i <= std::min(sentryCount, kSentrySlots - 1); ++i) {
            const SentryRecord& e = sentries[i];
            // The nearest point of this stretch to the sentry.
            double share = length2 > 0 ? ((e.x - ax) * lx + (e.z - az) * lz) / length2 : 0;
            share = std::clamp(share, 0.0, 1.0);
            const double dx = e.x - (ax + share * lx), dz = e.z - (az + share * lz);
            if (!(dx * dx + dz * dz >= reach * reach)) return false;
        }
        ax = bx;
        az = bz;
    }
    return true;
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
    turnPlan_.clear();
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
        if (done) break;
        if (turnPlan_.empty())
            turnPlan_ = planTurn({p.heading, p.turnRate}, target,
                                 frameScaled(static_cast<float>(p.turnSpeed)));
        if (turnPlan_.empty()) break; // he comes to rest close enough
        if (turnPlan_.front() != 0) keys.set(turnPlan_.front() > 0 ? kVkRight : kVkLeft);
        turnPlan_.erase(turnPlan_.begin());
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
    case RouteKind::WaitClear:
        done = wayClear(step.way, step.a);
        break;
    case RouteKind::WaitWon:
        done = world.wonFrame >= 0;
        break;
    }
    return keys;
}
