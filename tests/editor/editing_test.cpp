#include <set>

#include "editor/cell_commands.h"
#include "editor/editor_actions.h"
#include "editor/level_commands.h"
#include "editor_test_support.h"
#include "platform/keys.h"
#include "world/world.h"

namespace {

class EditingTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        MakeNewLevel(5, 4, 6);
    }
    // One frame of the keys: `held` are down.
    void Frame(std::set<int> held) {
        PollEditorKeys([&](int vk) { return held.count(vk) > 0; },
                       [&](int vk) { return held.count(vk) > 0; });
        ClampSelector();
    }
    void Target(int x, int y, int z) { PlaceSelectorAt({x, y, z}); }
};

TEST_F(EditingTest, KeysMoveAndTurnTheSelectorAsTheirIcons) {
    Target(2, 1, 2);
    Frame({kVkUp}); // heading 0 looks along +z
    EXPECT_EQ(TargetCell(), (CellPosition{2, 1, 3}));
    Frame({kVkRight}); // a quarter turn: forward is now +x
    EXPECT_EQ(editor.target.heading, 8192.0f);
    Frame({kVkUp});
    EXPECT_EQ(TargetCell(), (CellPosition{3, 1, 3}));
    Frame({kVkRight, kVkControl}); // move right of heading +x is -z
    EXPECT_EQ(TargetCell(), (CellPosition{3, 1, 2}));
    EXPECT_EQ(editor.target.heading, 8192.0f);
    Frame({'H'});
    Frame({'H', kVkControl}); // letters wait while Ctrl is held
    EXPECT_EQ(TargetCell().y, 2);

    // The grid's edge stops the selector, shown position included.
    for (int i = 0; i < 10; ++i) Frame({kVkUp, 'H'});
    EXPECT_EQ(editor.target.x, 4 * 512 + 256.0f);
    EXPECT_EQ(editor.shown.x, editor.target.x);
    EXPECT_EQ(editor.target.y, 3 * 512 + 256.0f);

    for (int i = 0; i < 5; ++i) Frame({kVkAdd});
    EXPECT_EQ(editor.distanceTarget, 0.0f);
    for (int i = 0; i < 6; ++i) Frame({kVkOemMinus});
    EXPECT_EQ(editor.distanceTarget, 2048.0f);
}

TEST_F(EditingTest, PageKeysToggleOncePerPress) {
    Frame({kVkPrior});
    Frame({kVkPrior}); // still the same press
    Frame({kVkPrior});
    EXPECT_EQ(editor.pitchTarget, -8192.0f);
    Frame({});
    Frame({kVkPrior});
    EXPECT_EQ(editor.pitchTarget, 0.0f);
    Frame({kVkNext});
    EXPECT_EQ(editor.pitchTarget, 8192.0f);
}

TEST_F(EditingTest, SmoothingGlidesAndNeverOvershoots) {
    Target(2, 1, 2);
    editor.target.x += 512;
    SmoothSelector(90);
    EXPECT_FLOAT_EQ(editor.shown.x, 1280 + 128.0f);
    SmoothSelector(5000); // a long stall lands on the target
    EXPECT_EQ(editor.shown.x, editor.target.x);
}

TEST_F(EditingTest, BrightnessStopsAtBothEnds) {
    Target(1, 1, 1);
    const std::pair<int, int> brighter[] = {{253, 255}, {254, 255}, {255, 255}, {128, 130}};
    for (auto [from, to] : brighter) {
        worldGrid.brightness[1 + 5 * (1 + 4 * 1)] = static_cast<std::uint8_t>(from);
        BrightenCell();
        EXPECT_EQ(brightnessAt(1, 1, 1), to) << from;
    }
    const std::pair<int, int> darker[] = {{3, 1}, {2, 0}, {1, 0}, {0, 0}};
    for (auto [from, to] : darker) {
        worldGrid.brightness[1 + 5 * (1 + 4 * 1)] = static_cast<std::uint8_t>(from);
        DarkenCell();
        EXPECT_EQ(brightnessAt(1, 1, 1), to) << from;
    }
}

TEST_F(EditingTest, MusicZonesTakeTheHighestFreeRecordUntilNoneIsLeft) {
    Target(1, 1, 1);
    PlaceMusicZone();
    PlaceMusicZone(); // the same cell again: nothing
    EXPECT_EQ(levelState.musicZones[255].x, 1);
    EXPECT_EQ(levelState.musicZones[254].x, kUnusedMusicZone);
    EXPECT_EQ(MusicZoneAtTarget(), 255);

    // Fill every record, then a 257th cell is refused.
    MakeNewLevel(20, 20, 20);
    for (int i = 0; i < 257; ++i) {
        Target(i % 20, 1 + i / 20 / 20, (i / 20) % 20);
        PlaceMusicZone();
    }
    EXPECT_EQ(MusicZoneAtTarget(), -1);
    Target(0, 1, 0);
    EXPECT_EQ(MusicZoneAtTarget(), 255);
    DeleteCell(); // frees the zone
    EXPECT_EQ(levelState.musicZones[255].x, kUnusedMusicZone);
    Target(16, 1, 12);
    PlaceMusicZone();
    EXPECT_EQ(MusicZoneAtTarget(), 255);
}

TEST_F(EditingTest, PlaneFillsWriteExactlyThePlaneAndUndoRestoresIt) {
    Target(2, 1, 4);
    editor.currentObject = 7;
    worldGrid.brightness[0] = 9;
    const std::vector<std::uint8_t> before = worldGrid.cells;
    FillPlane(PlaneAxis::Y);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 4; ++y)
            for (int z = 0; z < 6; ++z)
                EXPECT_EQ(cellAt(x, y, z), y == 1 ? 7 : before[x + 5 * (y + 4 * z)]);
    ClearPlane(PlaneAxis::Z);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(cellAt(x, y, 4), 0);
            EXPECT_EQ(cellAt(x, y, 3), y == 1 ? 7 : before[x + 5 * (y + 4 * 3)]);
        }
    const std::vector<std::uint8_t> filled = worldGrid.cells;
    ASSERT_TRUE(UndoEdit());
    ASSERT_TRUE(UndoEdit());
    EXPECT_EQ(worldGrid.cells, before);
    EXPECT_EQ(worldGrid.brightness[0], 9);
    EXPECT_FALSE(editor.modified);
    ASSERT_TRUE(RedoEdit());
    ASSERT_TRUE(RedoEdit());
    EXPECT_EQ(worldGrid.cells, filled);
    EXPECT_FALSE(RedoEdit());
}

TEST_F(EditingTest, AHeldKeyIsOneUndoStepAndNewStepsDropTheRedone) {
    editor.currentObject = 3;
    Target(1, 1, 1);
    Frame({kVkSpace});
    editor.target.x += 512;
    editor.shown.x += 512;
    Frame({kVkSpace}); // held: joins the first
    Frame({});
    Frame({'E'});
    EXPECT_EQ(cellAt(2, 1, 1), 3);
    ASSERT_TRUE(UndoEdit()); // the brightness
    ASSERT_TRUE(UndoEdit()); // both blocks
    EXPECT_EQ(cellAt(1, 1, 1), 0);
    EXPECT_EQ(cellAt(2, 1, 1), 0);
    EXPECT_FALSE(UndoEdit());
    Frame({'D'});
    EXPECT_FALSE(RedoEdit());
}

TEST_F(EditingTest, EveryCommandActsOnTheTargetWhileTheSelectorGlides) {
    editor.currentObject = 3;
    Target(1, 1, 1);
    // Moved three cells on without a frame of smoothing: drawn at x=1, aimed at x=4.
    for (int i = 0; i < 3; ++i) RunEditorAction(EditorAction::MoveRight);
    RunEditorAction(EditorAction::MoveForward);
    ASSERT_EQ(CellOfPose(editor.shown), (CellPosition{1, 1, 1}));
    ASSERT_EQ(TargetCell(), (CellPosition{4, 1, 2}));
    PutBlock();
    BrightenCell();
    EXPECT_EQ(cellAt(4, 1, 2), 3);
    EXPECT_EQ(brightnessAt(4, 1, 2), 130);
    EXPECT_EQ(cellAt(1, 1, 1), 0);
    FillPlane(PlaneAxis::Z);
    EXPECT_EQ(cellAt(0, 3, 2), 3);
    EXPECT_EQ(cellAt(0, 3, 1), 0);
    DeleteCell();
    EXPECT_EQ(cellAt(4, 1, 2), 0);
    EXPECT_EQ(brightnessAt(4, 1, 2), 128);
}

TEST_F(EditingTest, StartExitAndSentriesTakeTheTargetCell) {
    Target(3, 2, 1);
    editor.target.heading = -8192;
    PlaceStart();
    PlaceExit();
    EXPECT_EQ((std::array{levelState.startX, levelState.startY, levelState.startZ,
                          levelState.startHeading}),
              (std::array{3, 2, 1, -8192}));
    EXPECT_EQ((std::array{levelState.exitX, levelState.exitY, levelState.exitZ}),
              (std::array{3, 2, 1}));
    sentryCount = 2;
    SetSentryPosition(1);
    SetSentryPosition(2); // beyond the count: nothing
    EXPECT_EQ((std::array{sentries[2].x, sentries[2].y, sentries[2].z, sentries[2].heading}),
              (std::array{1792.0f, 1280.0f, 768.0f, 8192.0f}));
    EXPECT_EQ(sentries[2].cellX, 3);
    ASSERT_TRUE(UndoEdit());
    EXPECT_EQ(sentries[2].x, 0.0f);
}

} // namespace
