#include "world/behaviours.h"

#include <gtest/gtest.h>

#include "world/animation.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/world.h"
#include "world_test_helpers.h"

namespace {

class Behaviours : public SmallWorld {
  protected:
    // Runs animation frames until no transition plays (at most `frames`).
    static void PlayTransitions(int frames = 100) {
        for (int i = 0; i < frames && ActiveSlots() > 0; ++i) updateObjectAnimation();
    }
};

// A lever type 3 switching to 4 with animation 5; door 6 opening to 0 with animation 7.
void DefineLeverAndDoor() {
    ObjectType& lever = DefineType(3);
    lever.Lever = 1, lever.LeverOpen = 4, lever.LeverAnim = 5, lever.LeverDoor = 6;
    DefineType(4);
    GiveMeshes(DefineType(5), 2);
    objectTypes[5].Speed = 0.9f;
    ObjectType& door = DefineType(6);
    door.Door = 1, door.DoorOpen = 0, door.AnimDoor = 7;
    GiveMeshes(DefineType(7), 2);
    objectTypes[7].Speed = 0.9f;
}

TEST_F(Behaviours, ATransitionEmptiesTheCellInTheLastFreeSlotAndEndsWithTheFinalType) {
    DefineType(8);
    ObjectType& anim = DefineType(9);
    GiveMeshes(anim, 3);
    anim.ActionVolume = 40;
    transitionSlots[256].active = 1;

    startCellTransition(2, 1, 3, 8, 9);

    EXPECT_EQ(cellAt(2, 1, 3), 0);
    const TransitionSlot& slot = transitionSlots[255];
    ASSERT_EQ(slot.active, 1);
    EXPECT_EQ(slot.x, 1280.0f);
    EXPECT_EQ(slot.y, 768.0f);
    EXPECT_EQ(slot.z, 1792.0f);
    EXPECT_EQ(slot.frame, 1.0f);
    ASSERT_TRUE(slot.workMesh);
    EXPECT_NE(&*slot.workMesh, &*anim.meshes[0]); // the slot owns its copy
    EXPECT_EQ(SoundsAtVolume(40), 1);

    finishCellTransition(255);
    EXPECT_EQ(slot.active, 0);
    EXPECT_EQ(cellAt(2, 1, 3), 8);
    finishCellTransition(257); // no such slot: nothing happens
    finishCellTransition(-1);
}

TEST_F(Behaviours, WithEverySlotBusyALeverSwitchesItsCellsAtOnce) {
    DefineLeverAndDoor();
    for (TransitionSlot& slot : transitionSlots) slot.active = 1;
    setCell(0, 0, 0, 3);
    setCell(5, 3, 5, 3);
    setCell(2, 0, 2, 6);

    operateLever(0, 0, 0);

    EXPECT_EQ(cellAt(0, 0, 0), 4);
    EXPECT_EQ(cellAt(5, 3, 5), 4);
    EXPECT_EQ(cellAt(2, 0, 2), 0); // the door opened at once too
}

TEST_F(Behaviours, ALeverSwitchesEveryCellOfItsTypeAndOpensItsDoor) {
    DefineLeverAndDoor();
    setCell(0, 0, 0, 3);
    setCell(4, 2, 1, 3);
    setCell(1, 0, 0, 6);
    setCell(1, 1, 0, 6);

    operateLever(4, 2, 1);
    EXPECT_EQ(ActiveSlots(), 4);
    EXPECT_EQ(cellAt(0, 0, 0), 0);
    EXPECT_EQ(cellAt(1, 1, 0), 0);

    PlayTransitions();
    EXPECT_EQ(ActiveSlots(), 0);
    EXPECT_EQ(cellAt(0, 0, 0), 4);
    EXPECT_EQ(cellAt(4, 2, 1), 4);
    EXPECT_EQ(cellAt(1, 0, 0), 0);
    EXPECT_EQ(cellAt(1, 1, 0), 0);

    operateLever(1, 0, 0); // not a lever: nothing happens
    EXPECT_EQ(ActiveSlots(), 0);
}

TEST_F(Behaviours, ALeverWhoseDoorIsNoDoorSwitchesOnlyItsOwnCells) {
    DefineLeverAndDoor();
    objectTypes[6].Door = 0;
    setCell(0, 0, 0, 3);
    setCell(3, 0, 0, 6);

    operateLever(0, 0, 0);
    PlayTransitions();

    EXPECT_EQ(cellAt(0, 0, 0), 4);
    EXPECT_EQ(cellAt(3, 0, 0), 6);
    objectTypes[3].LeverDoor = 999; // a door index past the table
    setCell(0, 0, 0, 3);
    operateLever(0, 0, 0);
    PlayTransitions();
    EXPECT_EQ(cellAt(0, 0, 0), 4);
}

TEST_F(Behaviours, ADoorThatOpensToItselfAnimatesAndReturns) {
    DefineLeverAndDoor();
    objectTypes[6].DoorOpen = 6;
    setCell(2, 2, 2, 6);

    openDoors(6);
    EXPECT_EQ(cellAt(2, 2, 2), 0);
    EXPECT_EQ(ActiveSlots(), 1);

    PlayTransitions();
    EXPECT_EQ(ActiveSlots(), 0);
    EXPECT_EQ(cellAt(2, 2, 2), 6);
}

TEST_F(Behaviours, TwoIngotTypesOpenTheirOwnDoorsWhenTheirLastIngotIsTaken) {
    for (int ingot : {10, 11}) {
        ObjectType& type = DefineType(ingot);
        type.Lingot = 1;
        type.LingotDoor = ingot + 2;
        ObjectType& door = DefineType(ingot + 2);
        door.Door = 1, door.DoorOpen = 0, door.AnimDoor = 0;
    }
    setCell(0, 0, 0, 10);
    setCell(1, 0, 0, 10);
    setCell(2, 0, 0, 11);
    setCell(0, 1, 0, 12);
    setCell(0, 2, 0, 13);

    TakeIngot(0, 0, 0);
    EXPECT_EQ(cellAt(0, 0, 0), 0);
    EXPECT_EQ(objectTypes[10].lingotCount, 1);
    EXPECT_EQ(ActiveSlots(), 0);

    TakeIngot(2, 0, 0);
    PlayTransitions();
    EXPECT_EQ(cellAt(0, 2, 0), 0);  // door of type 11 open
    EXPECT_EQ(cellAt(0, 1, 0), 12); // door of type 10 still shut

    TakeIngot(1, 0, 0);
    PlayTransitions();
    EXPECT_EQ(cellAt(0, 1, 0), 0);
}

// Key block 20 fits sensor 21, whose door is 22; the sensor sounds at volume 77.
class KeyBlocks : public Behaviours {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        ObjectType& key = DefineType(20);
        key.CanPush = 1, key.BlockKey = 1, key.BlockKeySensor = 21;
        ObjectType& sensor = DefineType(21);
        sensor.BlockSensor = 1, sensor.BlockSensorDoor = 22, sensor.ActionVolume = 77;
        ObjectType& door = DefineType(22);
        door.Door = 1, door.DoorOpen = 0;
        setCell(1, 0, 1, 21);
        setCell(4, 0, 4, 21);
        setCell(3, 2, 3, 22);
    }
    // A key block sliding above (x, 0, z), settled at once.
    static void SettleKeyAbove(int x, int z) {
        SlidingBlock& block = slidingBlocks[++slidingBlockCount];
        block = SlidingBlock{};
        block.x = x * 512.0f + 100.0f, block.y = 700.0f, block.z = z * 512.0f + 400.0f;
        block.type = 20;
        settleBlock(slidingBlockCount);
    }
};

TEST_F(KeyBlocks, OneCoveredSensorSoundsButTheDoorOpensOnlyWhenAllAreCovered) {
    EXPECT_FALSE(sensorsAllCovered(21));
    SettleKeyAbove(1, 1);
    EXPECT_EQ(cellAt(1, 1, 1), 20);
    EXPECT_EQ(slidingBlockCount, -1);
    EXPECT_EQ(SoundsAtVolume(77), 1);
    EXPECT_FALSE(sensorsAllCovered(21));
    EXPECT_EQ(cellAt(3, 2, 3), 22);

    SettleKeyAbove(4, 4);
    EXPECT_EQ(SoundsAtVolume(77), 2);
    EXPECT_TRUE(sensorsAllCovered(21));
    PlayTransitions();
    EXPECT_EQ(cellAt(3, 2, 3), 0);
}

TEST_F(KeyBlocks, AKeyOffItsSensorOrAnotherBlockOnItOpensNothing) {
    SettleKeyAbove(2, 2); // on the floor, not on a sensor
    EXPECT_EQ(SoundsAtVolume(77), 0);
    DefineType(23).CanPush = 1; // a plain block on a sensor
    setCell(1, 1, 1, 23);
    setCell(4, 1, 4, 20);
    EXPECT_FALSE(sensorsAllCovered(21));
    EXPECT_TRUE(sensorsAllCovered(50)); // no cell of the type: nothing uncovered
}

// Earth 30 digs with animation 31 (volume 51) and refills with 32 (volume 52).
class Digging : public Behaviours {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        ObjectType& earth = DefineType(30);
        earth.Dig = 1, earth.Recover = 1, earth.DigAnim = 31, earth.RecoverAnim = 32;
        GiveMeshes(DefineType(31), 2);
        objectTypes[31].ActionVolume = 51;
        objectTypes[31].Speed = 0.9f;
        GiveMeshes(DefineType(32), 2);
        objectTypes[32].ActionVolume = 52;
        objectTypes[32].Speed = 0.9f;
        DefineType(33).Ladder = 1;
        for (int x = 0; x < 6; ++x) setCell(x, 0, 0, 30);
    }
};

TEST_F(Digging, ADigOpensTheCellRecordsTheHoleAndSoundsTwice) {
    digHole(2, 0, 0, 10000);

    ASSERT_EQ(holeCount, 0);
    EXPECT_EQ(holes[0].x, 1280.0f);
    EXPECT_EQ(holes[0].y, 256.0f);
    EXPECT_EQ(holes[0].dugType, 30);
    EXPECT_EQ(holes[0].digTime, 1000);
    EXPECT_EQ(holes[0].refillDelay, 10000);
    EXPECT_EQ(cellAt(2, 0, 0), 0);
    EXPECT_EQ(ActiveSlots(), 1);
    // Once for the dig and once as its animation starts.
    EXPECT_EQ(SoundsAtVolume(51), 2);
}

TEST_F(Digging, NothingHappensUnderADefinedCellOrOnAFullList) {
    setCell(1, 1, 0, 33);
    setCell(3, 1, 0, 30);
    digHole(1, 0, 0, 10000);
    digHole(3, 0, 0, 10000);
    digHole(2, 1, 0, 10000); // not a digging type
    digHole(9, 0, 0, 10000); // outside the grid
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(cellAt(1, 0, 0), 30);
    EXPECT_EQ(cellAt(3, 0, 0), 30);
    EXPECT_TRUE(RecentWorldEvents().empty());

    holeCount = 256;
    digHole(0, 0, 0, 10000);
    EXPECT_EQ(holeCount, 256);
    EXPECT_EQ(cellAt(0, 0, 0), 30);
}

TEST_F(Digging, AHoleInEarthThatDoesNotRecoverStaysOpen) {
    objectTypes[30].Recover = 0;
    digHole(0, 0, 0, 10000);
    EXPECT_EQ(holeCount, -1);
    PlayTransitions();
    EXPECT_EQ(cellAt(0, 0, 0), 0);
}

TEST_F(Digging, ARefillFillsAnEmptyHoleAndDropsAFilledOne) {
    digHole(0, 0, 0, 10000);
    digHole(1, 0, 0, 10000);
    PlayTransitions();
    setCell(1, 0, 0, 33); // something else filled the second hole
    ClearWorldEvents();

    refillHole(1);
    EXPECT_EQ(holeCount, 0);
    EXPECT_EQ(cellAt(1, 0, 0), 33);
    EXPECT_EQ(SoundsAtVolume(52), 0);

    refillHole(0);
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(SoundsAtVolume(52), 2);
    PlayTransitions();
    EXPECT_EQ(cellAt(0, 0, 0), 30);
    refillHole(0); // empty list: nothing happens
    EXPECT_EQ(holeCount, -1);
}

TEST_F(Behaviours, APushSlidesTheBlockAlongTheNearestAxis) {
    ObjectType& block = DefineType(40);
    block.CanPush = 1, block.ActionVolume = 60;
    setCell(2, 0, 2, 40);
    setCell(4, 0, 4, 40);
    setCell(4, 1, 4, 40); // stacked on the other block

    pushBlock(4, 0, 4, 0);
    EXPECT_EQ(slidingBlockCount, -1); // a stacked block stays put
    pushBlock(2, 0, 3, 0);            // nothing to push
    EXPECT_EQ(slidingBlockCount, -1);

    pushBlock(2, 0, 2, 8192 + 1000); // a quarter turn and a little: along +x
    ASSERT_EQ(slidingBlockCount, 0);
    const SlidingBlock& slide = slidingBlocks[0];
    EXPECT_EQ(slide.vx, 84.0f);
    EXPECT_EQ(slide.vz, 0.0f);
    EXPECT_EQ(slide.x, 1280.0f);
    EXPECT_EQ(slide.type, 40);
    EXPECT_EQ(cellAt(2, 0, 2), 0);
    EXPECT_EQ(SoundsAtVolume(60), 1);

    pushBlock(4, 1, 4, 16384 + 3000); // half a turn: along -z
    ASSERT_EQ(slidingBlockCount, 1);
    EXPECT_EQ(slidingBlocks[1].vz, -84.0f);
    EXPECT_EQ(slidingBlocks[1].vx, 0.0f);
}

TEST_F(Behaviours, ABlockSettlesOverACellWithoutCollision) {
    ObjectType& block = DefineType(40);
    block.CanPush = 1;
    DefineType(41).Collision = 0;
    setCell(3, 0, 3, 41);
    SlidingBlock& slide = slidingBlocks[++slidingBlockCount];
    slide.x = 1800.0f, slide.y = 256.0f, slide.z = 1600.0f, slide.type = 40;

    settleBlock(0);
    EXPECT_EQ(cellAt(3, 0, 3), 40);
    EXPECT_EQ(slidingBlockCount, -1);
    settleBlock(0); // empty list: nothing happens
    EXPECT_EQ(slidingBlockCount, -1);
}

} // namespace
