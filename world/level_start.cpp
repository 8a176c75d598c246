// What a level start resets: the player records, the ingot counts, the
// lists of running transitions, holes and sliding blocks, and the exit.
#include "engine/mesh.h"
#include "world/player_motion.h"
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
        p.pitch = p.roll = 0;
        p.vx = p.vy = p.vz = 0;
        p.turnRate = 0;
        p.pitchTarget = p.rollTarget = 0;
        p.busyMs = 0;
    }
    RecountIngots();
    ClearWorldLists();
    ResetLevelExit();
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
