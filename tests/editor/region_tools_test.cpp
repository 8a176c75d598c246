#include <set>

#include "editor/cell_commands.h"
#include "editor/clipboard.h"
#include "editor/editor_actions.h"
#include "editor/level_commands.h"
#include "editor/region_commands.h"
#include "editor/view_pick.h"
#include "editor_test_support.h"
#include "engine/angles.h"
#include "engine/render_context.h"
#include "platform/keys.h"
#include "world/level_start.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

// Types with a direction, as the standard definitions give them: two
// ladders across each other, four ramps, and a lever whose box has no
// turned twin.
enum : std::uint8_t {
    kWall = 2,
    kLever = 30,
    kLadderX = 40,
    kLadderZ = 41,
    kRampEast = 42,
    kRampWest = 43,
    kRampNorth = 44,
    kRampSouth = 45
};

void setBox(int type, int x0, int x1, int z0, int z1) {
    ObjectType& t = objectTypes[type];
    t.Xmin = x0;
    t.Xmax = x1;
    t.Zmin = z0;
    t.Zmax = z1;
}

void setTop(int type, int a, int b, int c, int d) {
    ObjectType& t = objectTypes[type];
    t.Ymax1 = a;
    t.Ymax2 = b;
    t.Ymax3 = c;
    t.Ymax4 = d;
}

class RegionToolsTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        setBox(kLadderX, 24, 487, 242, 270);
        setBox(kLadderZ, 242, 270, 24, 487);
        for (int t : {kLadderX, kLadderZ}) objectTypes[t].Ladder = 1;
        setTop(kRampEast, 0, 511, 511, 0);
        setTop(kRampWest, 511, 0, 0, 511);
        setTop(kRampNorth, 0, 0, 511, 511);
        setTop(kRampSouth, 511, 511, 0, 0);
        setBox(kLever, 116, 395, 170, 341);
        objectTypes[kLever].Lever = 1;
        MakeNewLevel(8, 4, 8);
        InitSentries();
    }
    void Frame(std::set<int> held) {
        PollEditorKeys([&](int vk) { return held.count(vk) > 0; },
                       [&](int vk) { return held.count(vk) > 0; });
        ClampSelector();
    }
    void Target(int x, int y, int z) { PlaceSelectorAt({x, y, z}); }
    void Select(CellTriple from, CellTriple to) {
        Target(from.x, from.y, from.z);
        editor.selection = {true, from, false, {}};
        Target(to.x, to.y, to.z);
    }
    static std::int64_t Count(std::uint8_t type) {
        return std::count(worldGrid.cells.begin(), worldGrid.cells.end(), type);
    }
    void AddSentry(int x, int y, int z, float heading) {
        SentryRecord& s = sentries[static_cast<std::size_t>(++sentryCount)];
        s.x = x * 512.0f + 256;
        s.y = y * 512.0f + 256;
        s.z = z * 512.0f + 256;
        s.heading = heading;
        InitSentries();
    }
};

Clipboard directedClipboard() {
    // 3 x 1 x 2: a ramp, both ladders, a lever, a plain wall and air, with a
    // music zone and a sentry off the centre line.
    Clipboard clip;
    clip.size = {3, 1, 2};
    clip.cells = {{kRampEast, 100, -1}, {kLadderX, 128, 3}, {kLever, 128, -1},
                  {kWall, 90, -1},      {0, 128, -1},       {kLadderZ, 128, -1}};
    clip.sentries.push_back({300, 256, 700, 1000, 0});
    return clip;
}

TEST_F(RegionToolsTest, TurnsAndMirrorsComeBackToTheStartAndTurnDirectedCells) {
    const Clipboard start = directedClipboard();
    Clipboard clip = start;
    int kept = 0;
    for (int i = 0; i < 4; ++i) kept += TransformClipboard(clip, ClipTransform::TurnRight);
    EXPECT_EQ(clip, start);
    EXPECT_EQ(kept, 4); // the lever, once a turn
    for (auto mirror : {ClipTransform::MirrorX, ClipTransform::MirrorZ}) {
        clip = start;
        TransformClipboard(clip, mirror);
        EXPECT_NE(clip, start);
        TransformClipboard(clip, mirror);
        EXPECT_EQ(clip, start);
    }
    clip = start;
    TransformClipboard(clip, ClipTransform::TurnRight);
    TransformClipboard(clip, ClipTransform::TurnLeft);
    EXPECT_EQ(clip, start);

    // One quarter turn to the right: x runs where -z ran (old z becomes x,
    // old x counts down along z), east faces south, ladders cross over.
    clip = start;
    TransformClipboard(clip, ClipTransform::TurnRight);
    EXPECT_EQ(clip.size, (CellTriple{2, 1, 3}));
    EXPECT_EQ(ClipAt(clip, 0, 0, 2).type, kRampSouth); // from (0, 0, 0)
    EXPECT_EQ(ClipAt(clip, 0, 0, 2).brightness, 100);
    EXPECT_EQ(ClipAt(clip, 0, 0, 1).type, kLadderZ); // from (1, 0, 0)
    EXPECT_EQ(ClipAt(clip, 0, 0, 1).music, 3);
    EXPECT_EQ(ClipAt(clip, 0, 0, 0).type, kLever); // kept: no turned form
    EXPECT_EQ(ClipAt(clip, 1, 0, 2).type, kWall);
    EXPECT_EQ(ClipAt(clip, 1, 0, 0).type, kLadderX);
    // A sentry looking along +z (stored heading 0) now looks along +x,
    // stored negated.
    ASSERT_EQ(clip.sentries.size(), 1u);
    EXPECT_EQ(clip.sentries[0].x, 700.0f);
    EXPECT_EQ(clip.sentries[0].z, 3 * 512.0f - 300);
    EXPECT_EQ(clip.sentries[0].heading, WrapHeading(1000.0f - 8192));

    clip = start;
    TransformClipboard(clip, ClipTransform::MirrorX);
    EXPECT_EQ(ClipAt(clip, 2, 0, 0).type, kRampWest);
    EXPECT_EQ(ClipAt(clip, 1, 0, 0).type, kLadderX);
    clip = start;
    TransformClipboard(clip, ClipTransform::MirrorZ);
    EXPECT_EQ(ClipAt(clip, 0, 0, 1).type, kRampEast); // the same either way along z
}

TEST_F(RegionToolsTest, CopyPasteDoublesTheBoxAndUndoTakesThePasteAway) {
    for (int x = 1; x <= 3; ++x)
        for (int z = 1; z <= 2; ++z) setCell(x, 1, z, kRampEast);
    worldGrid.brightness[1 + 8 * (1 + 4 * 1)] = 40;
    Select({1, 1, 1}, {3, 1, 2});
    CopyRegionCommand();
    EXPECT_EQ(editor.clipboard.size, (CellTriple{3, 1, 2}));

    Target(4, 2, 5);
    const std::size_t steps = editor.history.position;
    PasteCommand();
    EXPECT_EQ(Count(kRampEast), 12);
    EXPECT_EQ(brightnessAt(4, 2, 5), 40);
    EXPECT_EQ(editor.history.position, steps + 1);
    ASSERT_TRUE(UndoEdit());
    EXPECT_EQ(Count(kRampEast), 6);
    EXPECT_EQ(cellAt(4, 2, 5), 0);

    // Turned, the pasted ramps face south.
    TransformClipboardCommand(ClipTransform::TurnRight);
    PasteCommand();
    EXPECT_EQ(Count(kRampSouth), 6);
    EXPECT_EQ(cellAt(5, 2, 7), kRampSouth); // 2 x 1 x 3 from (4, 2, 5)
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegionToolsTest, AnEmptyClipboardOrAHugeBoxIsRefusedWithAMessage) {
    PasteCommand();
    EXPECT_EQ(messages.back(), "The clipboard is empty: copy or cut a box first.");
    MakeNewLevel(257, 256, 256);
    Select({0, 0, 0}, {256, 255, 255});
    CopyRegionCommand();
    EXPECT_TRUE(ClipboardEmpty(editor.clipboard));
    EXPECT_TRUE(FillRegionCommand()); // handled: refused
    EXPECT_EQ(messages.back(),
              "The box holds 16842752 cells: at most 16777216 can be worked on at once.");
    EXPECT_EQ(editor.history.position, 0u);
}

TEST_F(RegionToolsTest, PasteAtTheEdgeClipsAndSaysSo) {
    Select({0, 1, 0}, {2, 2, 1});
    CopyRegionCommand();
    AddSentry(7, 3, 7, 0);
    editor.clipboard.sentries.push_back({2 * 512.0f + 256, 256, 256, 0});
    Target(6, 3, 7);
    PasteCommand();
    // Of 3 x 2 x 2 cells only x 6..7, y 3, z 7 lie inside; the sentry's x
    // lands at 8 and is left out.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "The paste reaches past the level's edge: 10 cells and 1 sentries left out.");
    EXPECT_EQ(sentryCount, 1);
    EXPECT_EQ(cellAt(6, 3, 7), 0);
    EXPECT_EQ(brightnessAt(7, 3, 7), 128);
    EXPECT_EQ(worldGrid.sizeX, 8);
}

TEST_F(RegionToolsTest, CutAndPasteMovesSentriesAndZonesWhileCopiesNeedRoom) {
    setCell(2, 1, 2, kWall);
    levelState.musicZones[255] = {2, 1, 2, 4};
    AddSentry(2, 1, 2, 8192);
    AddSentry(6, 1, 6, 0);
    Select({2, 1, 2}, {2, 1, 2});
    CutRegionCommand();
    EXPECT_EQ(cellAt(2, 1, 2), 0);
    EXPECT_EQ(levelState.musicZones[255].x, kUnusedMusicZone);

    Target(5, 2, 1);
    PasteCommand();
    EXPECT_EQ(cellAt(5, 2, 1), kWall);
    EXPECT_EQ(levelState.musicZones[255], (MusicZone{5, 2, 1, 4}));
    // The first paste moves sentry 1; the second makes a copy.
    EXPECT_EQ(sentryCount, 2);
    EXPECT_EQ(sentries[1].x, 5 * 512.0f + 256);
    EXPECT_EQ(sentries[1].heading, 8192.0f);
    Target(0, 1, 0);
    PasteCommand();
    EXPECT_EQ(sentryCount, 3);
    EXPECT_EQ(sentries[3].z, 256.0f);
    EXPECT_EQ(sentries[1].x, 5 * 512.0f + 256);

    // Undo of the first paste and the cut puts the sentry and zone back.
    UndoEdit();
    UndoEdit();
    EXPECT_EQ(sentries[1].x, 5 * 512.0f + 256 - 3 * 512);
    UndoEdit();
    EXPECT_EQ(cellAt(2, 1, 2), kWall);
    EXPECT_EQ(levelState.musicZones[255], (MusicZone{2, 1, 2, 4}));

    // A full level takes no copies and says so.
    sentryCount = kMaxLevelSentries;
    Select({6, 1, 6}, {6, 1, 6});
    CopyRegionCommand();
    Target(1, 1, 1);
    PasteCommand();
    EXPECT_EQ(sentryCount, kMaxLevelSentries);
    EXPECT_EQ(messages.back(), "1 sentries not copied: a level holds at most 255.");
}

TEST_F(RegionToolsTest, ShiftKeysSpanTheBoxWhichSpaceFillsAndDeleteClearsInOneStepEach) {
    Target(1, 1, 1);
    editor.currentObject = kWall;
    Frame({kVkShift, kVkUp});
    Frame({kVkShift, kVkUp});
    Frame({kVkShift, 'H'});
    Frame({kVkShift, kVkControl, kVkRight});
    ASSERT_TRUE(SelectedBox());
    EXPECT_EQ(*SelectedBox(), (CellBox{{1, 1, 1}, {2, 2, 3}}));
    Frame({kVkShift, kVkRight}); // a turn keeps the box
    EXPECT_TRUE(SelectedBox());

    const std::size_t steps = editor.history.position;
    Frame({kVkSpace});
    Frame({kVkSpace}); // held: the box is already full, no new step
    EXPECT_EQ(Count(kWall), 12);
    EXPECT_EQ(editor.history.position, steps + 1);
    Frame({kVkDelete});
    EXPECT_EQ(Count(kWall), 0);
    EXPECT_EQ(editor.history.position, steps + 2);
    UndoEdit();
    EXPECT_EQ(Count(kWall), 12);

    // Ctrl+X cuts the box, and X held on after Ctrl is let go is not the
    // exit key.
    const CellPosition exitBefore{levelState.exitX, levelState.exitY, levelState.exitZ};
    Frame({kVkControl, 'X'});
    Frame({'X'});
    EXPECT_EQ((CellPosition{levelState.exitX, levelState.exitY, levelState.exitZ}), exitBefore);
    EXPECT_EQ(Count(kWall), 0);
    EXPECT_EQ(editor.clipboard.size, (CellTriple{2, 2, 3}));

    // A move without Shift ends the selection; Space puts one cell again.
    Frame({});
    Frame({kVkDown});
    EXPECT_FALSE(SelectedBox());
    Frame({kVkControl, 'V'});
    EXPECT_EQ(Count(kWall), 12);
    Frame({'R'});
    Frame({'R'}); // one turn a press
    EXPECT_EQ(editor.clipboard.size, (CellTriple{3, 2, 2}));
}

TEST_F(RegionToolsTest, ADragInTheViewSpansTheBoxOnTheSelectorsLayer) {
    // Seen from straight above cell (2, ., 2), 256 pixels a unit of depth.
    renderContext.camera.x = 1280;
    renderContext.camera.y = 5000;
    renderContext.camera.z = 1280;
    renderContext.camera.matrix = RotationMatrix(0, -8192, 0);
    renderContext.projection.cx = 160;
    renderContext.projection.cy = 120;
    renderContext.projection.fx = renderContext.projection.fy = 256;
    RememberLevelViewCamera();
    EXPECT_EQ(CellUnderViewPixel(160, 120, 1), (CellTriple{2, 1, 2}));
    // A quarter of the focal length right is a quarter of the depth (4232
    // down to the middle of layer 1) east: x 1280 + 1058.
    EXPECT_EQ(CellUnderViewPixel(224, 120, 1), (CellTriple{4, 1, 2}));
    EXPECT_FALSE(CellUnderViewPixel(160 + 2560, 120, 1));  // beyond the grid
    renderContext.camera.matrix = RotationMatrix(0, 0, 0); // level: never meets the plane
    RememberLevelViewCamera();
    EXPECT_FALSE(CellUnderViewPixel(160, 120, 1));

    renderContext.camera.matrix = RotationMatrix(0, -8192, 0);
    RememberLevelViewCamera();
    Target(5, 1, 5);
    DragSelectFrame(std::pair{160.0, 120.0}, true);
    DragSelectFrame(std::pair{224.0, 120.0}, true);
    EXPECT_EQ(SelectedBox(), (CellBox{{2, 1, 2}, {4, 1, 2}}));
    EXPECT_EQ(TargetCell(), (CellPosition{5, 1, 5}));
    DragSelectFrame(std::nullopt, false);
    DragSelectFrame(std::pair{160.0, 120.0}, true); // a new press starts a new box
    EXPECT_EQ(SelectedBox(), (CellBox{{2, 1, 2}, {2, 1, 2}}));
    // A Shift move goes on from the anchor to the selector.
    Frame({kVkShift, kVkUp});
    EXPECT_EQ(SelectedBox(), (CellBox{{2, 1, 2}, {5, 1, 6}}));
}

} // namespace
