#include "world/behaviours.h"

#include <cmath>

#include "engine/angles.h"
#include "engine/mesh.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/world.h"

namespace {

constexpr int kLastListIndex = kWorldListSize - 1;
constexpr float kBlockSpeed = 84.0f; // a pushed block's start speed, per 90 ms

// A type named by a definition field. A cell holds a byte, so a wider value
// names the type of its low byte, as setCell stores it.
ObjectType& typeNamed(std::int32_t index) {
    return objectTypes[static_cast<std::uint8_t>(index)];
}

void playActionSound(const ObjectType& type, float x, float y, float z) {
    TriggerSound(RoundEven(x), RoundEven(y), RoundEven(z), type.ActionSound, type.ActionVolume);
}

// Calls act(x, y, z) for every cell that holds `type`, in grid order. act may
// change the cell it is given, never one further on.
template <typename Act> void forEachCellOf(int type, Act act) {
    if (type < 0 || type >= kObjectTypeCount) return;
    const std::int64_t count = static_cast<std::int64_t>(worldGrid.cells.size());
    const std::int64_t sizeX = worldGrid.sizeX, sizeY = worldGrid.sizeY;
    for (std::int64_t i = 0; i < count; ++i) {
        if (worldGrid.cells[static_cast<std::size_t>(i)] != type) continue;
        act(static_cast<int>(i % sizeX), static_cast<int>(i / sizeX % sizeY),
            static_cast<int>(i / (sizeX * sizeY)));
    }
}

template <typename Record> void removeEntry(Record& list, std::int32_t& lastIndex, int index) {
    for (int i = index; i < lastIndex; ++i) list[i] = list[i + 1];
    --lastIndex;
}

} // namespace

void startCellTransition(int x, int y, int z, int finalType, int animType) {
    if (!InsideGrid(x, y, z)) return;
    int free = -1;
    for (int i = kLastListIndex; i >= 0 && free < 0; --i)
        if (!transitionSlots[i].active) free = i;
    if (free < 0) {
        setCell(x, y, z, finalType);
        return;
    }

    TransitionSlot& slot = transitionSlots[free];
    const ObjectType& anim = typeNamed(animType);
    slot.x = static_cast<float>(CellCentre(x));
    slot.y = static_cast<float>(CellCentre(y));
    slot.z = static_cast<float>(CellCentre(z));
    playActionSound(anim, slot.x, slot.y, slot.z);
    slot.animType = static_cast<std::uint8_t>(animType);
    slot.finalType = static_cast<std::uint8_t>(finalType);
    slot.startTime = slot.lastTime = Now;
    slot.frame = anim.meshCount > 0 ? 1.0f : 0.0f;
    slot.prevFrame = 0.0f;
    CopyMesh(MeshOrNull(anim.meshes[0]), slot.workMesh);
    slot.active = 1;
    // The slot draws the cell while the animation plays.
    setCell(x, y, z, 0);
}

void finishCellTransition(int slotIndex) {
    if (slotIndex < 0 || slotIndex > kLastListIndex) return;
    TransitionSlot& slot = transitionSlots[slotIndex];
    slot.active = 0;
    setCell(CellOf(slot.x), CellOf(slot.y), CellOf(slot.z), slot.finalType);
}

void operateLever(int x, int y, int z) {
    const int leverType = cellAt(x, y, z);
    const ObjectType& lever = objectTypes[leverType];
    if (!lever.Lever) return;
    // Every cell of one lever type switches together.
    forEachCellOf(leverType, [&](int cx, int cy, int cz) {
        startCellTransition(cx, cy, cz, lever.LeverOpen, lever.LeverAnim);
    });
    openDoors(lever.LeverDoor);
}

void openDoors(int doorType) {
    if (doorType < 0 || doorType >= kObjectTypeCount) return;
    const ObjectType& door = objectTypes[doorType];
    if (!door.Door) return;
    forEachCellOf(doorType, [&](int cx, int cy, int cz) {
        startCellTransition(cx, cy, cz, door.DoorOpen, door.AnimDoor);
    });
}

void TakeIngot(int x, int y, int z) {
    if (!InsideGrid(x, y, z)) return;
    const ObjectType& ingot = objectTypes[cellAt(x, y, z)];
    if (!ingot.Lingot) return;
    setCell(x, y, z, 0); // lowers the type's ingot count
    if (ingot.lingotCount < 1) openDoors(ingot.LingotDoor);
}

void digHole(int x, int y, int z, std::int32_t refillDelay) {
    if (!InsideGrid(x, y, z)) return;
    const int dugType = cellAt(x, y, z);
    const ObjectType& dug = objectTypes[dugType];
    if (!dug.Dig || !objectTypes[cellAt(x, y + 1, z)].undefined) return;
    if (holeCount >= kLastListIndex) return;

    HoleRecord& hole = holes[++holeCount];
    hole.x = static_cast<float>(CellCentre(x));
    hole.y = static_cast<float>(CellCentre(y));
    hole.z = static_cast<float>(CellCentre(z));
    hole.dugType = static_cast<std::uint8_t>(dugType);
    hole.digTime = Now;
    hole.refillDelay = refillDelay;
    // The dig sound plays here and again as the transition starts: both are
    // part of how a dig sounds.
    playActionSound(typeNamed(dug.DigAnim), hole.x, hole.y, hole.z);
    startCellTransition(x, y, z, 0, dug.DigAnim);
    // A type that does not recover leaves the hole open for good.
    if (!dug.Recover) --holeCount;
}

void refillHole(int index) {
    if (index < 0 || index > holeCount) return;
    const HoleRecord hole = holes[index];
    const int x = CellOf(hole.x), y = CellOf(hole.y), z = CellOf(hole.z);
    // A hole that something else has filled meanwhile is only dropped.
    if (objectTypes[cellAt(x, y, z)].undefined) {
        const ObjectType& dug = objectTypes[hole.dugType];
        playActionSound(typeNamed(dug.RecoverAnim), hole.x, hole.y, hole.z);
        startCellTransition(x, y, z, hole.dugType, dug.RecoverAnim);
    }
    removeEntry(holes, holeCount, index);
}

void pushBlock(int x, int y, int z, std::int32_t heading) {
    if (!InsideGrid(x, y, z)) return;
    const int blockType = cellAt(x, y, z);
    const ObjectType& block = objectTypes[blockType];
    if (!block.CanPush) return;

    // A push always goes along one grid axis: the one nearest the heading.
    const float sx = AngleSin(static_cast<float>(heading)) * 512.0f;
    const float sz = AngleCos(static_cast<float>(heading)) * 512.0f;
    float vx = 0.0f, vz = 0.0f;
    if (std::fabs(sx) > std::fabs(sz))
        vx = sx > 0.0f ? kBlockSpeed : -kBlockSpeed;
    else
        vz = sz > 0.0f ? kBlockSpeed : -kBlockSpeed;

    // A stacked block cannot be pushed.
    if (objectTypes[cellAt(x, y + 1, z)].CanPush) return;
    if (slidingBlockCount >= kLastListIndex || block.undefined) return;

    SlidingBlock& slide = slidingBlocks[++slidingBlockCount];
    slide = SlidingBlock{};
    slide.x = static_cast<float>(CellCentre(x));
    slide.y = static_cast<float>(CellCentre(y));
    slide.z = static_cast<float>(CellCentre(z));
    slide.vx = vx;
    slide.vz = vz;
    slide.type = static_cast<std::uint8_t>(blockType);
    slide.startTime = slide.lastTime = Now;
    playActionSound(block, slide.x, slide.y, slide.z);
    setCell(x, y, z, 0);
}

void settleBlock(int index) {
    if (index < 0 || index > slidingBlockCount) return;
    const SlidingBlock block = slidingBlocks[index];
    removeEntry(slidingBlocks, slidingBlockCount, index);

    // The block takes its cell whatever it holds: a block may come to rest in
    // a cell of a type without collision.
    const int x = CellOf(block.x), y = CellOf(block.y), z = CellOf(block.z);
    setCell(x, y, z, block.type);

    const ObjectType& type = objectTypes[block.type];
    const int below = cellAt(x, y - 1, z);
    if (!type.BlockKey || below != type.BlockKeySensor) return;
    const ObjectType& sensor = objectTypes[below];
    playActionSound(sensor, block.x, block.y, block.z);
    if (sensorsAllCovered(below)) openDoors(sensor.BlockSensorDoor);
}

bool sensorsAllCovered(int sensorType) {
    bool covered = true;
    forEachCellOf(sensorType, [&](int x, int y, int z) {
        const ObjectType& above = objectTypes[cellAt(x, y + 1, z)];
        if (!above.BlockKey || above.BlockKeySensor != sensorType) covered = false;
    });
    return covered;
}
