// The world's listener and the ambient loops of the cells around the camera:
// both belong to the world's frame, so that a run that draws nothing hears
// what a drawn one hears.
#include "world/sound_listener.h"

#include <vector>

#include <gtest/gtest.h>

#include "engine/angles.h"
#include "media/sound_buffer.h"
#include "media/sound_output.h"
#include "media/sound_position.h"
#include "media/wave_writer.h"
#include "support/test_support.h"
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

// Touching cells of one loop sound share one voice, heard from the cell the
// listener hears loudest; apart, or of other sounds, they sound each.
TEST_F(SoundListener, NeighbouringCellsOfOneLoopSoundOnceFromTheirLoudestCell) {
    int otherSound = 0;
    LoopType(7, 200);
    LoopType(8, 200);
    LoopType(9, 200).LoopSound = reinterpret_cast<TSoundBuffer*>(&otherSound);
    // A pool of four cells of two types with the same sound, bent round a
    // corner: (3,0,2) (4,0,3) touch diagonally.
    for (const auto& [x, z] : {std::pair{1, 2}, {2, 2}, {3, 2}, {4, 3}}) setCell(x, 0, z, 7);
    setCell(5, 1, 4, 8);
    setCell(5, 0, 5, 9);  // touching the pool, another sound
    setCell(12, 0, 2, 7); // apart from the pool
    SetHearingRange(24576);
    soundListener.x = CellCentre(6);
    soundListener.y = CellCentre(1);
    soundListener.z = CellCentre(4);

    StartDueLoopSounds(ViewBoxAround(worldGrid, 5.5f * 512, 1.5f * 512, 4.5f * 512));
    std::vector<WorldEvent> sounds = loggedSounds();
    ASSERT_EQ(sounds.size(), 3u);
    // The pool, from its cell nearest the listener; then the other sound
    // beside it; then the lone cell: groups in the grid order of their first
    // cell.
    EXPECT_EQ(sounds[0].x, CellCentre(5));
    EXPECT_EQ(sounds[0].y, CellCentre(1));
    EXPECT_EQ(sounds[0].z, CellCentre(4));
    EXPECT_EQ(sounds[1].x, CellCentre(5));
    EXPECT_EQ(sounds[1].z, CellCentre(5));
    EXPECT_EQ(sounds[2].x, CellCentre(12));

    // A louder type farther off is heard louder: the pool sounds from it.
    ClearWorldEvents();
    objectTypes[7].LoopVolume = 254;
    objectTypes[8].LoopVolume = 20;
    StartDueLoopSounds(ViewBoxAround(worldGrid, 5.5f * 512, 1.5f * 512, 4.5f * 512));
    sounds = loggedSounds();
    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[0].x, CellCentre(4));
    EXPECT_EQ(sounds[0].z, CellCentre(3));
    EXPECT_EQ(sounds[0].value, 254);
}

// Requests for one sound in one cell within a frame start one voice, as loud
// as the loudest request; the next frame starts its own.
class SoundRequests : public SmallWorld {
  protected:
    void SetUp() override {
        SmallWorld::SetUp();
        std::vector<std::int16_t> samples(2 * 4000, 9000);
        dir.write("SOUNDS/DIG.WAV", EncodeStereoWave(samples));
        dir.write("SOUNDS/STEP.WAV", EncodeStereoWave(samples));
        CreateSoundOutput(SoundOutputKind::Capture);
        ASSERT_TRUE(SoundOutputReady());
        ASSERT_TRUE(LoadSound("SOUNDS/DIG.WAV", dig));
        ASSERT_TRUE(LoadSound("SOUNDS/STEP.WAV", step));
        SetHearingRange(24576);
    }
    void TearDown() override {
        VoicesFollowListener();
        StopVoices();
        CloseSoundOutput();
        soundListener = SoundCamera{};
        SetHearingRange(kDefaultHearingRange);
        SmallWorld::TearDown();
    }

    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    TSoundBuffer* dig = nullptr;
    TSoundBuffer* step = nullptr;
};

TEST_F(SoundRequests, OneSoundInOneCellOnceAFrame) {
    const std::int64_t before = VoicesStarted();
    PlaySoundAtListener(2000, 256, 2000, dig, 100);
    PlaySoundAtListener(2000, 256, 2000, dig, 100); // a dig asks twice
    PlaySoundAtListener(2040, 300, 1900, dig, 180); // the same cell, louder
    EXPECT_EQ(VoicesStarted(), before + 1);
    std::vector<PlayingVoice> playing = PlayingVoices();
    ASSERT_EQ(playing.size(), 1u);
    EXPECT_EQ(playing[0].voice.loudness, 180);
    EXPECT_EQ(playing[0].voice.x, 2000);           // where it first sounded
    PlaySoundAtListener(2040, 300, 1900, dig, 50); // quieter: no change
    EXPECT_EQ(PlayingVoices()[0].voice.loudness, 180);

    // Another cell or another sound: voices of their own.
    PlaySoundAtListener(2600, 256, 2000, dig, 100);
    PlaySoundAtListener(2000, 256, 2000, step, 100);
    EXPECT_EQ(VoicesStarted(), before + 3);

    // A new frame: the same request sounds again.
    VoicesFollowListener();
    PlaySoundAtListener(2000, 256, 2000, dig, 100);
    EXPECT_EQ(VoicesStarted(), before + 4);

    // Voices stopped within the frame (a restart): the request starts anew.
    StopVoices();
    PlaySoundAtListener(2000, 256, 2000, dig, 100);
    EXPECT_EQ(VoicesStarted(), before + 5);
    EXPECT_EQ(PlayingVoices().size(), 1u);
}

TEST_F(SoundRequests, AVoiceTakenOverWithinTheFrameIsNotJoinedAgain) {
    for (int cell = 0; cell < kVoiceCount; ++cell)
        PlaySoundAtListener(CellCentre(cell), 0, 0, dig, 100);
    ASSERT_EQ(PlayingVoices().size(), static_cast<std::size_t>(kVoiceCount));
    const std::int64_t before = VoicesStarted();
    // Every voice busy: the next cell's dig takes the last voice over.
    PlaySoundAtListener(CellCentre(kVoiceCount), 0, 0, dig, 100);
    EXPECT_EQ(PlayingVoices().back().voice.x, CellCentre(kVoiceCount));
    // The cell that voice sounded for asks again: it is heard anew, not
    // folded into the other cell's voice.
    PlaySoundAtListener(CellCentre(kVoiceCount - 1), 0, 0, dig, 100);
    EXPECT_EQ(VoicesStarted(), before + 2);
    EXPECT_EQ(PlayingVoices().back().voice.x, CellCentre(kVoiceCount - 1));
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
