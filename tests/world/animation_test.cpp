#include "world/animation.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "engine/render_context.h"
#include "platform/clock.h"
#include "world/behaviours.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/world.h"
#include "world_test_helpers.h"

namespace {

constexpr float kSpeed100 = 100 * 90 * 0.0001f; // "Speed 100" as the definitions store it

class Animation : public SmallWorld {
  protected:
    static void RunFrame(std::int32_t ms) {
        frameMs = ms;
        Now = TickAfter(Now, ms);
        updateObjectAnimation();
    }
};

TEST_F(Animation, Speed100AdvancesOneFramePer100MsAndWrapsOnLongFrames) {
    ObjectType& type = DefineType(5);
    GiveMeshes(type, 3);
    type.Speed = kSpeed100;

    RunFrame(100);
    EXPECT_NEAR(type.frame, 1.0f, 1e-5f);
    ASSERT_TRUE(type.workMesh);
    const std::int32_t* vertices = type.workMesh->x.data();
    RunFrame(250); // 3.5 wraps to 0.5
    EXPECT_NEAR(type.frame, 0.5f, 1e-5f);
    EXPECT_NEAR(type.prevFrame, 1.0f, 1e-5f);
    EXPECT_EQ(type.workMesh->x[0], 0);            // frame mesh 0, not morphed
    EXPECT_EQ(type.workMesh->x.data(), vertices); // copied in place

    // A frame many animations long, and one running backwards, stay in range.
    for (float speed : {kSpeed100, -kSpeed100, 1e9f}) {
        type.Speed = speed;
        for (std::int32_t ms : {5000, 250, 1}) {
            RunFrame(ms);
            EXPECT_GE(type.frame, 0.0f) << speed << " " << ms;
            EXPECT_LT(type.frame, 3.0f) << speed << " " << ms;
        }
    }
}

TEST_F(Animation, ATypeWithoutMeshesKeepsItsFrameAndBox) {
    ObjectType& type = DefineType(6);
    type.Speed = kSpeed100;
    type.AnimateCollision = 1;
    type.Ymax1 = 321;
    RunFrame(250);
    EXPECT_EQ(type.frame, 0.0f);
    EXPECT_EQ(type.Ymax1, 321);
    EXPECT_FALSE(type.workMesh);
}

TEST_F(Animation, CollisionBoxesFollowTheFrameBlendedOnlyWithMorph) {
    for (std::uint8_t morph : {1, 0}) {
        ObjectType& type = DefineType(7);
        GiveMeshes(type, 3);
        type.frameBox[kYmax1] = {100, 300, 500};
        type.AnimateCollision = 1;
        type.Morph = morph;
        type.Speed = 1.0f; // one frame per 90 ms
        type.frame = 1.5f;
        type.prevFrame = 0.0f;

        RunFrame(90); // frame 2.5, blending from 1.5
        EXPECT_NEAR(type.frame, 2.5f, 1e-5f);
        EXPECT_EQ(type.Ymax1, morph ? 400 : 500);
        ASSERT_TRUE(type.workMesh);
        EXPECT_EQ(type.workMesh->x[0], morph ? 15 : 20);
    }
}

TEST_F(Animation, TexturesStepEvery66MsAcrossTheCounterWrap) {
    TextureEntry& texture = renderContext.textures[0];
    const TextureEntry saved = texture;
    const std::int32_t savedHighest = renderContext.highestTexture;
    texture = {0, 3, 0};
    renderContext.highestTexture = 0;

    lastTextureStep = std::numeric_limits<std::int32_t>::max() - 10;
    Now = TickAfter(lastTextureStep, 66);
    updateObjectAnimation();
    EXPECT_EQ(texture.current, 0);
    Now = TickAfter(lastTextureStep, 67);
    updateObjectAnimation();
    EXPECT_EQ(texture.current, 1);
    EXPECT_EQ(lastTextureStep, Now);

    texture = saved;
    renderContext.highestTexture = savedHighest;
}

TEST_F(Animation, ALoopSoundIsDueOncePerDurationAcrossTheCounterWrap) {
    int sound = 0;
    ObjectType& type = DefineType(8);
    type.LoopSound = reinterpret_cast<TSoundBuffer*>(&sound); // never played here
    type.LoopDuration = 100;
    UseVirtualClock(std::numeric_limits<std::int32_t>::max() - 5);
    type.lastLoopTime = GetTickCount();

    AdvanceVirtualClock(100);
    updateObjectAnimation();
    EXPECT_EQ(type.loopDue, 0);
    AdvanceVirtualClock(1);
    updateObjectAnimation();
    EXPECT_EQ(type.loopDue, 1);
    EXPECT_EQ(type.lastLoopTime, GetTickCount());
    updateObjectAnimation();
    EXPECT_EQ(type.loopDue, 0);
    UseRealClock();
}

TEST_F(Animation, TransitionsEndWhenTheirFramesRunOut) {
    DefineType(8);
    DefineType(9);                 // no meshes
    GiveMeshes(DefineType(10), 3); // Speed 0 stays
    GiveMeshes(DefineType(11), 3);
    objectTypes[11].Speed = -kSpeed100; // runs backwards
    startCellTransition(0, 0, 0, 8, 9);
    startCellTransition(1, 0, 0, 8, 10);
    startCellTransition(2, 0, 0, 8, 11);

    RunFrame(30);
    EXPECT_EQ(cellAt(0, 0, 0), 8);
    EXPECT_EQ(cellAt(1, 0, 0), 0);
    EXPECT_EQ(ActiveSlots(), 2);
    RunFrame(5000);
    EXPECT_EQ(cellAt(2, 0, 0), 8);

    objectTypes[10].Speed = kSpeed100;
    RunFrame(150); // frame 1 -> 2.5: blends mesh 1 towards mesh 2
    const TransitionSlot& slot = transitionSlots[255];
    ASSERT_EQ(slot.active, 1);
    ASSERT_TRUE(slot.workMesh);
    EXPECT_EQ(slot.workMesh->x[0], 15);
    RunFrame(5000);
    EXPECT_EQ(cellAt(1, 0, 0), 8);
    EXPECT_EQ(ActiveSlots(), 0);
}

// Earth 30 refills through animation 32, which sounds at volume 52.
class Holes : public Animation {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        ObjectType& earth = DefineType(30);
        earth.Dig = 1, earth.Recover = 1, earth.DigAnim = 31, earth.RecoverAnim = 32;
        DefineType(31);
        DefineType(32).ActionVolume = 52;
        DefineType(33);
        for (int x = 0; x < 4; ++x) setCell(x, 0, 0, 30);
    }
};

TEST_F(Holes, TwoHolesDueInOneFrameRefillOnceEach) {
    digHole(0, 0, 0, 100);
    digHole(1, 0, 0, 100);
    RunFrame(30); // the dig transitions end
    ASSERT_EQ(ActiveSlots(), 0);

    RunFrame(100); // both due; the second moved into the first's index waits
    EXPECT_EQ(SoundsAtVolume(52), 2);
    EXPECT_EQ(holeCount, 0);
    RunFrame(30);
    EXPECT_EQ(SoundsAtVolume(52), 4);
    EXPECT_EQ(holeCount, -1);
    for (int i = 0; i < 5; ++i) RunFrame(30);
    EXPECT_EQ(SoundsAtVolume(52), 4);
    EXPECT_EQ(cellAt(0, 0, 0), 30);
    EXPECT_EQ(cellAt(1, 0, 0), 30);
}

TEST_F(Holes, AHoleFilledMeanwhileIsDroppedAndTimingSurvivesTheCounterWrap) {
    Now = std::numeric_limits<std::int32_t>::max() - 50;
    digHole(2, 0, 0, 1000);
    digHole(3, 0, 0, 1000);
    RunFrame(30);
    setCell(3, 0, 0, 33);

    RunFrame(900); // past the counter's wrap, not yet due
    EXPECT_EQ(holeCount, 1);
    RunFrame(100);
    RunFrame(30);
    EXPECT_EQ(holeCount, -1);
    EXPECT_EQ(SoundsAtVolume(52), 2); // the empty hole only
    EXPECT_EQ(cellAt(2, 0, 0), 30);
    EXPECT_EQ(cellAt(3, 0, 0), 33);
}

// The block motion on a plain floor at y = 256, without walls.
bool FloorOnly(float& x, float& y, float& z, float vx, float vy, float vz, std::int32_t,
               std::int32_t, std::int32_t) {
    x += vx, y += vy, z += vz;
    if (y >= 256.0f) return false;
    y = 256.0f;
    return true;
}

class Blocks : public Animation {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        DefineType(40).CanPush = 1;
    }
    static SlidingBlock& AddBlock(float x, float vx) {
        SlidingBlock& block = slidingBlocks[++slidingBlockCount];
        block = SlidingBlock{};
        block.x = x, block.y = 256.0f, block.z = 768.0f, block.vx = vx, block.type = 40;
        return block;
    }
};

TEST_F(Blocks, APushedBlockSettlesOneCellOnWhateverTheFrameTime) {
    for (std::int32_t ms : {1, 5, 18, 50, 90}) {
        setCell(2, 0, 1, 0);
        setCell(1, 0, 1, 40);
        pushBlock(1, 0, 1, 8192); // along +x
        ASSERT_EQ(slidingBlockCount, 0);
        frameMs = ms;
        for (int frame = 0; frame < 20000 && slidingBlockCount >= 0; ++frame)
            MoveSlidingBlocksWith(FloorOnly);
        EXPECT_EQ(slidingBlockCount, -1) << ms;
        EXPECT_EQ(cellAt(1, 0, 1), 0) << ms;
        EXPECT_EQ(cellAt(2, 0, 1), 40) << ms;
    }
}

TEST_F(Blocks, NothingMovesInAFrameThatTookNoTime) {
    AddBlock(768.0f, 84.0f);
    frameMs = 0;
    MoveSlidingBlocks();
    MoveSlidingBlocksWith(FloorOnly);
    RunFrame(0);
    ASSERT_EQ(slidingBlockCount, 0);
    EXPECT_EQ(slidingBlocks[0].x, 768.0f);
    EXPECT_EQ(slidingBlocks[0].vx, 84.0f);
}

TEST_F(Blocks, ABlockMovedIntoASettledBlocksPlaceWaitsForTheNextFrame) {
    AddBlock(256.0f, 0.0f);   // stopped: settles
    AddBlock(1280.0f, 84.0f); // moves into index 0
    AddBlock(2304.0f, 0.0f);  // settles from index 1
    frameMs = 90;
    MoveSlidingBlocksWith(FloorOnly);
    ASSERT_EQ(slidingBlockCount, 0);
    EXPECT_EQ(slidingBlocks[0].x, 1280.0f);
    EXPECT_EQ(cellAt(0, 0, 1), 40);
    EXPECT_EQ(cellAt(4, 0, 1), 40);

    MoveSlidingBlocksWith(FloorOnly);
    EXPECT_EQ(slidingBlocks[0].x, 1280.0f + 84.0f);
}

TEST_F(Animation, FiftyFramesOf5000MsStayFinite) {
    ObjectType& spinner = DefineType(5);
    GiveMeshes(spinner, 3);
    spinner.Speed = kSpeed100, spinner.Morph = 1, spinner.AnimateCollision = 1;
    spinner.frameBox[kYmax1] = {100, 300, 500};
    ObjectType& block = DefineType(40);
    block.CanPush = 1;
    ObjectType& earth = DefineType(30);
    earth.Dig = 1, earth.Recover = 1;
    GiveMeshes(DefineType(7), 4);
    objectTypes[7].Speed = kSpeed100;
    setCell(2, 1, 2, 40);
    setCell(4, 0, 4, 30);
    pushBlock(2, 1, 2, 0);
    digHole(4, 0, 4, 3000);
    startCellTransition(0, 0, 0, 5, 7);

    for (int i = 0; i < 50; ++i) RunFrame(5000);

    EXPECT_TRUE(std::isfinite(spinner.frame) && std::isfinite(spinner.prevFrame));
    EXPECT_GE(spinner.Ymax1, 100);
    EXPECT_LE(spinner.Ymax1, 500);
    for (int i = 0; i <= slidingBlockCount; ++i) {
        const SlidingBlock& b = slidingBlocks[i];
        for (float v : {b.x, b.y, b.z, b.vx, b.vy, b.vz}) EXPECT_TRUE(std::isfinite(v));
    }
    EXPECT_EQ(ActiveSlots(), 0);
    EXPECT_EQ(cellAt(0, 0, 0), 5);
}

} // namespace
