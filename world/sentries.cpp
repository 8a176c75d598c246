#include "world/sentries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "engine/angles.h"
#include "platform/clock.h"
#include "world/aim_angles.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/models.h"
#include "world/movement.h"
#include "world/random.h"
#include "world/world.h"

namespace {

enum SentryState : std::int32_t { kChase = 0, kLost = 1, kLookAround = 2, kRoam = 3 };
enum SoundState : std::int32_t { kSeenSoundPlayed = 0, kLostSoundPlayed = 1 };

constexpr int kSightCells = 7;      // nothing farther is ever seen
constexpr float kSightCone = 0.7f;  // cosine of the half-angle of the view, about 45 degrees
constexpr float kSightPitch = 0.3f; // cosine of the steepest pitch seen
constexpr std::int32_t kSoundGapMs = 1000;
constexpr std::int32_t kSentryVolume = 255;
constexpr float kTurnRate = 0.2f;       // share of the gap to the target angles per 90 ms
constexpr float kApproachShare = 0.2f;  // the step slows down within five steps of the target
constexpr double kArrivedDistance = 10; // closer than this to the target counts as arrived
constexpr float kLookAroundTurn = 800;  // angle units per 90 ms while looking around
// Looking around ends on a chance of 1 in 50 per 90 ms. One draw in 50 x 90
// per frame, of which frameMs values end it: the same chance per second at
// every frame time, and at 90 ms exactly the draws where Random(50) = 20.
constexpr std::int32_t kLookAroundDraw = 50 * 90;
constexpr std::int32_t kLookAroundEnd = 20 * 90;

int lastSentry() {
    return std::clamp(sentryCount, 0, kSentrySlots - 1);
}

int lastPlayerIndex() {
    return std::clamp(lastPlayer, 0, kPlayerCount - 1);
}

// A cell along the line: the quotient rounded to nearest, halves to even.
int cellOnLine(int from, std::int64_t delta, int i, std::int64_t steps) {
    return from + RoundEven(static_cast<double>(delta * i) / static_cast<double>(steps));
}

bool blocksSight(std::uint8_t type) {
    const ObjectType& t = objectTypes[type];
    return !t.undefined && !t.Ladder && !t.Lingot;
}

void playSentrySound(SentryRecord& e, TSoundBuffer* sound, std::int32_t soundState) {
    e.soundState = soundState;
    e.lastSoundTime = Now;
    TriggerSound(RoundEven(e.x), RoundEven(e.y), RoundEven(e.z), sound, kSentryVolume);
}

bool soundGapOver(const SentryRecord& e) {
    return TickDifference(e.lastSoundTime, Now) > kSoundGapMs;
}

// States 1 to 3 move on when the sentry is stuck or has reached its target.
// A frame without time moves nothing, so it decides nothing either.
bool readyToAdvance(const SentryRecord& e) {
    if (frameMs <= 0) return false;
    if (e.stuck) return true;
    const double dx = double{e.targetX} - e.x;
    const double dy = double{e.targetY} - e.y;
    const double dz = double{e.targetZ} - e.z;
    return dx * dx + dy * dy + dz * dz < kArrivedDistance * kArrivedDistance;
}

// Sees any player, and then chases the last one seen in the player order.
void updateSight(SentryRecord& e) {
    bool seen = false;
    for (int p = 0; p <= lastPlayerIndex(); ++p) {
        if (!SentrySeesPlayer(e, p)) continue;
        seen = true;
        e.targetPlayer = p;
    }
    if (seen) {
        if (e.state != kChase && e.soundState != kSeenSoundPlayed && soundGapOver(e))
            playSentrySound(e, enemySeenSound, kSeenSoundPlayed);
        e.state = kChase;
    } else if (e.state == kChase) {
        if (e.soundState != kLostSoundPlayed && soundGapOver(e))
            playSentrySound(e, enemyLostSound, kLostSoundPlayed);
        e.state = kLost;
    }
}

void chase(SentryRecord& e) {
    const PlayerRecord& target = players[std::clamp(e.targetPlayer, 0, kPlayerCount - 1)];
    e.targetX = target.x;
    e.targetY = target.y;
    e.targetZ = target.z;
    // Faces the player at once.
    const AimAngles aim = aimAngles(e.x, e.y, e.z, e.targetX, e.targetY, e.targetZ);
    e.heading = -aim.yaw;
    e.pitch = aim.pitch;
    e.headingTarget = e.heading;
    e.pitchTarget = e.pitch;
}

// Whether this frame's draw in [0, kLookAroundDraw) ends looking around:
// a window of frameMs draws starting at kLookAroundEnd, wrapping round.
bool lookAroundEnds(std::int32_t draw) {
    const std::int32_t from = (draw - kLookAroundEnd + kLookAroundDraw) % kLookAroundDraw;
    return from < frameMs;
}

void lookAround(SentryRecord& e) {
    e.headingTarget += frameScaled(kLookAroundTurn);
    e.targetX = e.x;
    e.targetY = e.y;
    e.targetZ = e.z;
    if (lookAroundEnds(RandomInt(kLookAroundDraw))) e.state = kRoam;
}

// Heads for a random cell corner of the grid.
void roam(SentryRecord& e) {
    const float x = static_cast<float>(RandomInt(worldGrid.sizeX)) * worldUnit;
    const float y = static_cast<float>(RandomInt(worldGrid.sizeY)) * worldUnit;
    const float z = static_cast<float>(RandomInt(worldGrid.sizeZ)) * worldUnit;
    e.targetX = x;
    e.targetY = y;
    e.targetZ = z;
    const AimAngles aim = aimAngles(e.x, e.y, e.z, x, y, z);
    e.headingTarget = -aim.yaw;
    e.pitch = aim.pitch;
}

void decide(SentryRecord& e) {
    switch (e.state) {
    case kChase:
        chase(e);
        break;
    case kLost:
        if (!readyToAdvance(e)) break;
        RandomInt(1); // keeps the sequence of draws every machine makes
        e.state = kLookAround;
        break;
    case kLookAround:
        if (readyToAdvance(e)) lookAround(e);
        break;
    case kRoam:
        if (readyToAdvance(e)) roam(e);
        break;
    default:
        break;
    }
}

// One axis of a step, never past the target: on long frames the slowing
// step near the target would carry the sentry across it and back again, round
// and round the point without ever arriving.
float stepTowards(float step, float gap) {
    return std::fabs(step) > std::fabs(gap) ? gap : step;
}

// The movement along one axis that went the way the step asked. A body
// pressed against a ceiling or a floor by steps under a unit is put back a
// unit every other frame: moving to and fro like that is no progress, or on
// short frames it would never count as stuck and would stay there for good.
double progressAlong(double moved, float step) {
    return moved * step > 0 ? moved : 0;
}

void moveSentry(SentryRecord& e) {
    e.cellX = CellOf(e.x);
    e.cellY = CellOf(e.y);
    e.cellZ = CellOf(e.z);
    e.heading += RelaxStep(e.heading, e.headingTarget, kTurnRate);
    e.pitch += RelaxStep(e.pitch, e.pitchTarget, kTurnRate);

    const float dx = (e.targetX - e.x) * kApproachShare;
    const float dy = (e.targetY - e.y) * kApproachShare;
    const float dz = (e.targetZ - e.z) * kApproachShare;
    const float t = std::max({std::fabs(dx), std::fabs(dy), std::fabs(dz)}) + 1.0f;
    const float speed = e.state == kChase ? static_cast<float>(RoundEven(e.speed * 1.5))
                                          : static_cast<float>(e.speed);

    const float stepX = stepTowards(frameScaled(speed * dx / t), e.targetX - e.x);
    const float stepY = stepTowards(frameScaled(speed * dy / t), e.targetY - e.y);
    const float stepZ = stepTowards(frameScaled(speed * dz / t), e.targetZ - e.z);
    const float fromX = e.x, fromY = e.y, fromZ = e.z;
    moveBody(e.x, e.y, e.z, stepX, stepY, stepZ, e.width,
             SaturateToInt32(std::int64_t{2} * e.halfHeight), 0);
    const double mx = progressAlong(double{e.x} - fromX, stepX);
    const double my = progressAlong(double{e.y} - fromY, stepY);
    const double mz = progressAlong(double{e.z} - fromZ, stepZ);
    // Stuck when it moved less than a tenth of t per 90 ms: the share of the
    // frame's length, so short frames do not count every step as stuck.
    const double least = double{frameScaled(t)} * 0.1;
    e.stuck = least * least > mx * mx + my * my + mz * mz ? 1 : 0;
}

} // namespace

bool lineOfSight(int fromX, int fromY, int fromZ, int toX, int toY, int toZ) {
    const std::int64_t dx = std::int64_t{toX} - fromX;
    const std::int64_t dy = std::int64_t{toY} - fromY;
    const std::int64_t dz = std::int64_t{toZ} - fromZ;
    const std::int64_t steps = std::max({std::llabs(dx), std::llabs(dy), std::llabs(dz)});
    if (steps < 2) return true;
    if (steps > kSightCells) return false;
    for (int i = 1; i <= steps; ++i) {
        const std::uint8_t type =
            cellAt(cellOnLine(fromX, dx, i, steps), cellOnLine(fromY, dy, i, steps),
                   cellOnLine(fromZ, dz, i, steps));
        if (blocksSight(type)) return false;
    }
    return true;
}

bool SentrySeesPlayer(const SentryRecord& sentry, int player) {
    if (player < 0 || player >= kPlayerCount) return false;
    const PlayerRecord& p = players[player];
    const int cx = CellOf(p.x), cy = CellOf(p.y), cz = CellOf(p.z);
    if (!lineOfSight(sentry.cellX, sentry.cellY, sentry.cellZ, cx, cy, cz)) return false;
    const auto centre = [](int cell) {
        return static_cast<float>(static_cast<double>(cell) * worldUnit + worldUnit / 2);
    };
    const AimAngles aim =
        aimAngles(sentry.x, sentry.y, sentry.z, centre(cx), centre(cy), centre(cz));
    // The heading is stored with the opposite sign of the aim's yaw, so the
    // sum is the angle between the sentry's facing and the player.
    if (AngleCos(aim.yaw + sentry.heading) < kSightCone) return false;
    return std::fabs(AngleCos(aim.pitch + sentry.pitch)) >= kSightPitch;
}

void updateSentryAwareness() {
    for (int i = 1; i <= lastSentry(); ++i) {
        SentryRecord& e = sentries[i];
        updateSight(e);
        decide(e);
    }
}

void updateSentries() {
    for (int i = 1; i <= lastSentry(); ++i) moveSentry(sentries[i]);
}

bool SentryTouchesLocalPlayer() {
    const PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    for (int i = 1; i <= lastSentry(); ++i) {
        const SentryRecord& e = sentries[i];
        const double ay = std::trunc(std::fabs(double{p.y} - e.y));
        const double ax = std::trunc(std::fabs(double{p.x} - e.x));
        const double az = std::trunc(std::fabs(double{p.z} - e.z));
        const double reachY = (static_cast<double>(p.height) + e.halfHeight) * 0.5;
        const double reachXZ = (static_cast<double>(p.width) + e.width) * 0.5;
        if (ay < reachY && ax < reachXZ && az < reachXZ) return true;
    }
    return false;
}
