#include "world/level_start.h"

#include <algorithm>

#include "engine/mesh.h"
#include "world/player_motion.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

// Low corner of a cell in world units, formed without int overflow.
float cellBase(int cell) {
    return static_cast<float>(static_cast<double>(cell) * worldUnit);
}

} // namespace

void ResetPlayersForLevel(int startX, int startY, int startZ, int startHeading) {
    for (PlayerRecord& p : players) {
        p.fallSpeed = 0;
        p.width = 260;
        p.height = 480;
        p.stepHeight = 256;
        p.light = p.lightTarget = 5000;
        p.walkSpeed = 50;
        p.turnSpeed = 900;
        // A hero who won the level as he died comes back at his own distance.
        if (p.dead) p.cameraDistance = p.savedCameraDistance;
        p.dead = 0;
        p.pose = p.blendFromPose = p.lastPose = 0;
        p.poseBlendMs = p.blendStart = 0;
        p.onLadder = 0;
        p.ladderOffsetX = p.ladderOffsetZ = 0;
        p.ladderHeading = 0;
        p.onGround = 0;
        p.walkPhase = 0;
        p.actionCell = {};
        p.x = cellBase(startX) + 256;
        p.y = cellBase(startY) + 480;
        p.z = cellBase(startZ) + 256;
        p.heading = static_cast<float>(startHeading);
        p.cameraX = p.x;
        p.cameraY = p.y;
        p.cameraZ = p.z;
        p.followX = p.x;
        p.followY = p.y;
        p.followZ = p.z;
        p.cameraPull = 0;
        p.pitch = p.roll = 0;
        p.vx = p.vy = p.vz = 0;
        p.turnRate = 0;
        p.pitchTarget = p.rollTarget = 0;
        p.busyMs = 0;
    }
    ClearWorldLists();
    ResetLevelExit();
}

bool ApplyLevel(const LevelData& level, const std::function<void()>& loadTypes) {
    if (!ResizeWorldGrid(level.sizeX, level.sizeY, level.sizeZ)) return false;
    const std::size_t n = worldGrid.cells.size();
    std::copy_n(level.cells.begin(), std::min(n, level.cells.size()), worldGrid.cells.begin());
    std::copy_n(level.brightness.begin(), std::min(n, level.brightness.size()),
                worldGrid.brightness.begin());

    world.startCells = worldGrid.cells;
    world.wonFrame = -1;
    levelState = level.state;
    sentryCount =
        static_cast<std::int32_t>(std::min<std::size_t>(level.sentries.size(), kMaxLevelSentries));
    for (std::int32_t k = 0; k < sentryCount; ++k) {
        SentryRecord& sentry = sentries[k + 1];
        sentry.x = level.sentries[k].x;
        sentry.y = level.sentries[k].y;
        sentry.z = level.sentries[k].z;
        sentry.heading = level.sentries[k].heading;
    }

    ResetPlayersForLevel(levelState.startX, levelState.startY, levelState.startZ,
                         levelState.startHeading);
    currentMusic = -1;
    timerRunning = 0;
    timeLeftMs = 0;
    InitSentries();
    if (loadTypes) loadTypes();
    RecountIngots();
    return true;
}

void RecountIngots() {
    for (ObjectType& type : objectTypes) type.lingotCount = 0;
    for (std::uint8_t cell : worldGrid.cells)
        if (objectTypes[cell].Lingot) ++objectTypes[cell].lingotCount;
}

void ClearWorldLists() {
    holeCount = -1;
    slidingBlockCount = -1;
    for (TransitionSlot& slot : transitionSlots) slot = TransitionSlot{};
}
