// The world's listener and the ambient loops of the cells around the camera:
// both belong to the world's frame, so that a run that draws nothing hears
// what a drawn one hears.
#include "world/sound_listener.h"

#include <vector>

#include <gtest/gtest.h>

#include "engine/angles.h"
#include "media/sound_position.h"
#include "world/local_view.h"
#include "world/view_box.h"
#include "world/world.h"
#include "world_test_helpers.h"

namespace {

int fakeSound = 0;
TSoundBuffer* const kLoop = reinterpret_cast<TSoundBuffer*>(&fakeSound); // never played here

std::vector<WorldEvent> loggedSounds() {
    std::vector<WorldEvent> sounds;
    for (const WorldEvent& e : RecentWorldEvents())
        if (e.kind == WorldEventKind::Sound) sounds.push_back(e);
    return sounds;
}

class SoundListener : public SmallWorld {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        ASSERT_TRUE(ResizeWorldGrid(20, 3, 20));
    }
    void TearDown() override {
        soundListener = SoundCamera{};
        SetHearingRange(kDefaultHearingRange);
        SmallWorld::TearDown();
    }
    static ObjectType& LoopType(int index, std::int32_t volume) {
        ObjectType& type = DefineType(index);
        type.LoopSound = kLoop;
        type.LoopVolume = volume;
        type.loopDue = 1;
        return type;
    }
};

TEST_F(SoundListener, DueLoopsOfTheBoxSoundOnceEachInGridOrderAtTheirCellCentres) {
    LoopType(7, 90);
    LoopType(8, 120).loopDue = 0; // not due this frame
    ObjectType& stale = LoopType(9, 150);
    stale.undefined = 1; // drawn as air, but its loop still sounds
    setCell(2, 1, 3, 7);
    setCell(1, 0, 5, 7);
    setCell(2, 1, 4, 8);
    setCell(0, 2, 0, 9);
    setCell(19, 1, 19, 7); // beyond eight cells of the camera

    StartDueLoopSounds(ViewBoxAround(worldGrid, 2.5f * 512, 1.5f * 512, 2.5f * 512));
    const std::vector<WorldEvent> sounds = loggedSounds();
    ASSERT_EQ(sounds.size(), 3u);
    // x first, then y, then z.
    EXPECT_EQ(sounds[0].x, 256);
    EXPECT_EQ(sounds[0].y, 1280);
    EXPECT_EQ(sounds[0].value, 150);
    EXPECT_EQ(sounds[1].x, 768);
    EXPECT_EQ(sounds[1].z, 5 * 512 + 256);
    EXPECT_EQ(sounds[1].value, 90);
    EXPECT_EQ(sounds[2].x, 1280);
    EXPECT_EQ(sounds[2].z, 3 * 512 + 256);

    // Nothing due: nothing sounds.
    ClearWorldEvents();
    for (ObjectType& type : objectTypes) type.loopDue = 0;
    StartDueLoopSounds(ViewBoxAround(worldGrid, 2.5f * 512, 1.5f * 512, 2.5f * 512));
    EXPECT_TRUE(loggedSounds().empty());
}

TEST_F(SoundListener, FollowsTheLocalPlayersCameraAndTurnsWithIt) {
    PlayerRecord& p = players[0];
    localPlayer = 0;
    p.x = p.z = 3.5f * 512;
    p.y = 512 + 10;
    p.cameraDistance = 0; // first person: the camera sits on the player
    p.heading = 0;
    SetHearingRange(24576);

    UpdateLocalView();
    EXPECT_EQ(soundListener.x, TruncToInt(p.cameraX));
    EXPECT_EQ(soundListener.z, TruncToInt(p.cameraZ));
    EXPECT_EQ(soundListener.hearingRange, 24576);
    // A source one cell to the camera's side, heard before and after a half
    // turn: the pan changes sides, the volume stays.
    const std::int32_t sx = TruncToInt(p.cameraX) + 512, sz = TruncToInt(p.cameraZ);
    const VolumePan before = PositionalVolumePan(soundListener, sx, soundListener.y, sz, 200);
    p.heading = 16384;
    UpdateLocalView();
    const VolumePan after = PositionalVolumePan(soundListener, sx, soundListener.y, sz, 200);
    EXPECT_NE(before.pan, 0);
    EXPECT_EQ(before.pan, -after.pan);
    EXPECT_EQ(before.volume, after.volume);
}

} // namespace
