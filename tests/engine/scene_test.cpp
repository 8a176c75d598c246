// The play picture: camera, cells, figures, shadows, overlays and the
// transition, drawn from a small data folder and compared with pictures
// checked by eye where the whole picture matters.
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "engine/angles.h"

#include "draw/pipeline.h"
#include "draw/scene.h"
#include "draw/text.h"
#include "engine/mesh.h"
#include "engine/render_context.h"
#include "engine/render_fixture.h"
#include "engine/scene_fixture.h"
#include "formats/definitions.h"
#include "world/aim_angles.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/in_game_menu.h"
#include "world/local_view.h"
#include "world/models.h"
#include "world/title_overlay.h"
#include "world/world.h"

namespace {

class Scene : public ::testing::Test {
  protected:
    void SetUp() override { WriteSceneDataSet(dir); }
    void TearDown() override {
        windowMode = true;
        titleOverlay = TitleOverlay{};
        sentryCount = 0;
    }

    // A corridor along z: floor and ceiling of checker-topped bricks, brick
    // walls at x = 0 and x = 4, open at both ends.
    static LevelData Corridor() {
        LevelData level = EmptyLevel(5, 3, 10);
        for (int z = 0; z < 10; ++z) {
            for (int x = 0; x < 5; ++x) {
                SetCell(level, x, 0, z, 1);
                SetCell(level, x, 2, z, 1);
            }
            SetCell(level, 0, 1, z, 1);
            SetCell(level, 4, 1, z, 1);
        }
        return level;
    }

    std::uint8_t FogColour() const { return (*renderContext.shadeTable)[255]; }

    TempDir dir;
};

} // namespace

TEST_F(Scene, TexturedCubeSeenFromInsideACorridor) {
    LevelData level = Corridor();
    SetCell(level, 2, 1, 4, 4);
    SetCell(level, 1, 1, 6, 3);
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    PlacePlayer(850, 512 + 240, 512 + 100, 900, 0);
    UpdateLocalView();
    DrawPlayFrame(world);
    EXPECT_TRUE(MatchesReference("scene_corridor"));
}

TEST_F(Scene, FollowCameraWithFiguresShadowsAndOverlays) {
    // No ceiling: the camera rises above the walls without touching anything.
    LevelData level = Corridor();
    for (int z = 0; z < 10; ++z)
        for (int x = 0; x < 5; ++x) SetCell(level, x, 2, z, 0);
    SetCell(level, 1, 1, 7, 3);
    level.state.description = "KELVANE";
    level.state.author = "ME";
    level.sentries = {{3 * 512 + 100, 512 + 240, 5 * 512 + 256, 16384},
                      {3 * 512 + 256, 512 + 240, 8 * 512 + 256, 0}};
    ASSERT_TRUE(LoadSceneLevel(dir, level, 320, 240));
    sentries[2].state = 3; // roaming: the other blip
    PlacePlayer(2 * 512 + 256, 512 + 240, 2 * 512 + 256, 0, 1024);
    StartTitleOverlay();
    for (int frame = 0; frame < 80; ++frame) {
        UpdateLocalView();
        DrawPlayFrame(world);
        Now += frameMs;
    }
    EXPECT_TRUE(MatchesReference("scene_follow"));
}

TEST_F(Scene, OwnFigureOnlyOutsideFirstPerson) {
    LevelData level = Corridor();
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    // The same frame with and without the local player's figure and shadow.
    auto drawBoth = [](float distance) {
        PlacePlayer(2 * 512 + 256, 512 + 240, 4 * 512, 0, distance);
        players[0].followZ -= distance; // already behind him
        players[0].followY += distance * 0.5f;
        const PlayerRecord saved = players[0];
        UpdateLocalView();
        DrawPlayFrame(world);
        const std::vector<std::uint8_t> with = renderContext.mainBuffer.pixels;
        players[0] = saved;
        const MeshSlot figure = players[0].workMesh;
        const MeshSlot shadow = players[0].shadowMesh;
        players[0].workMesh.reset();
        players[0].shadowMesh.reset();
        UpdateLocalView();
        DrawPlayFrame(world);
        players[0].workMesh = figure;
        players[0].shadowMesh = shadow;
        return with != renderContext.mainBuffer.pixels;
    };
    // The hero's faces are double-sided: from inside they would show.
    EXPECT_FALSE(drawBoth(0));
    EXPECT_TRUE(drawBoth(512)); // camera view 1: 512 > 0.3 * 260
}

TEST_F(Scene, CubeSidesBetweenCubesAreNotDrawnButGridEdgesAre) {
    // Three cubes in a row along x fill the whole grid.
    LevelData level = EmptyLevel(3, 1, 1);
    for (int x = 0; x < 3; ++x) SetCell(level, x, 0, 0, 2);
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120, "Low"));
    const std::uint8_t fog = FogColour();

    // From inside the end cubes, looking at the middle one: its X sides
    // would face the camera if they were drawn. Every own side faces away.
    PlacePlayer(256, 206, 256, 8192, 0);
    UpdateLocalView();
    DrawPlayFrame(world);
    EXPECT_EQ(PixelsNotOf(fog), 0);
    PlacePlayer(2 * 512 + 256, 206, 256, 24576, 0);
    UpdateLocalView();
    DrawPlayFrame(world);
    EXPECT_EQ(PixelsNotOf(fog), 0);

    // From outside the grid the outer side of the last cube is there.
    PlacePlayer(2000, 206, 256, 24576, 0);
    UpdateLocalView();
    DrawPlayFrame(world);
    EXPECT_NE(renderContext.mainBuffer.pixels[60 * 160 + 80], fog);
}

TEST_F(Scene, IndoorOrSkylessLevelsClearToTheFogColour) {
    LevelData level = EmptyLevel(4, 4, 4);
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    const std::uint8_t fog = FogColour();
    EXPECT_NE(fog, 0);
    PlacePlayer(1000, 1000, 1000, 3000, 0);
    players[0].pitch = 2000; // looking up a little, into the sky if there is one

    UpdateLocalView();
    DrawPlayFrame(world); // inside
    EXPECT_EQ(PixelsNotOf(fog), 0);

    levelState.outside = 1;
    UpdateLocalView();
    DrawPlayFrame(world);
    EXPECT_GT(PixelsNotOf(fog), 160 * 120 / 2);

    const MeshSlot sky = skyMesh;
    skyMesh.reset();
    UpdateLocalView();
    DrawPlayFrame(world); // outside, but no sky
    skyMesh = sky;
    EXPECT_EQ(PixelsNotOf(fog), 0);
}

// The world's frame starts the ambient loops and moves the level title;
// drawing the picture, however often, does neither.
TEST_F(Scene, DrawingStartsNoSoundAndMovesNoTitle) {
    LevelData level = Corridor();
    level.state.description = "HELLO";
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    PlacePlayer(2 * 512 + 256, 512 + 240, 2 * 512 + 256, 0, 0);
    int fakeSound = 0;
    ObjectType& brick = objectTypes[1];
    brick.LoopSound = reinterpret_cast<TSoundBuffer*>(&fakeSound); // never played here
    brick.LoopVolume = 100;
    brick.loopDue = 1;
    Now = 5000;
    frameMs = 50;
    StartTitleOverlay();
    ClearWorldEvents();

    UpdateLocalView();
    EXPECT_FALSE(RecentWorldEvents().empty()); // the bricks around the camera
    ClearWorldEvents();
    const TitleOverlay title = titleOverlay;
    for (int frame = 0; frame < 3; ++frame) DrawPlayFrame(world);
    EXPECT_TRUE(RecentWorldEvents().empty());
    EXPECT_EQ(titleOverlay.offset, title.offset);
    EXPECT_EQ(titleOverlay.drawnOffset, title.drawnOffset);
    EXPECT_EQ(titleOverlay.shown, title.shown);
    brick.LoopSound = nullptr;
    brick.loopDue = 0;
    ClearWorldEvents();
}

TEST_F(Scene, TitleIsGoneTenSecondsAfterTheLevelStartAtAnyFrameRate) {
    LevelData level = EmptyLevel(3, 3, 3);
    level.state.description = "HELLO";
    level.state.author = "ME";
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    PlacePlayer(768, 768, 768, 0, 0);
    for (const int step : {7, 50, 333, 2500}) {
        Now = 123456;
        frameMs = step;
        StartTitleOverlay();
        EXPECT_FLOAT_EQ(titleOverlay.offset, 0.7f);
        while (Now - titleOverlay.levelStart <= 10000) {
            EXPECT_TRUE(titleOverlay.shown) << "frame time " << step;
            UpdateLocalView();
            DrawPlayFrame(world);
            Now += step;
        }
        UpdateLocalView();
        DrawPlayFrame(world); // the first frame past ten seconds
        EXPECT_FALSE(titleOverlay.shown) << "frame time " << step;
    }
}

TEST_F(Scene, FollowCameraSettlesBehindAndAboveThePlayer) {
    ASSERT_TRUE(LoadSceneLevel(dir, EmptyLevel(20, 8, 20), 160, 120));
    for (const float heading : {0.0f, 8192.0f, 20000.0f}) {
        PlacePlayer(5000, 1500, 5000, heading, 1024);
        for (int frame = 0; frame < 300; ++frame) UpdateLocalView();
        DrawPlayFrame(world);
        const PlayerRecord& p = players[0];
        const float dx = p.cameraX - p.x, dy = p.cameraY - p.y, dz = p.cameraZ - p.z;
        // Behind: opposite the heading in plan, and above.
        EXPECT_LT(dx * AngleSin(heading) + dz * AngleCos(heading), -500.0f) << heading;
        EXPECT_NEAR(dx * AngleCos(heading) - dz * AngleSin(heading), 0.0f, 1.0f) << heading;
        EXPECT_GT(dy, 100.0f) << heading;
        EXPECT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), 1024.0f, 60.0f) << heading;
        // Looking at him.
        const AimAngles aim = aimAngles(p.cameraX, p.cameraY, p.cameraZ, p.x, p.y, p.z);
        EXPECT_NEAR(p.cameraYaw, aim.yaw, 5.0f); // aimed before this frame's move
    }
}

TEST_F(Scene, ShadowLiesOnTheFirstSurfaceBelowTheFigure) {
    LevelData level = EmptyLevel(3, 3, 3);
    SetCell(level, 1, 0, 1, 5); // the ramp
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    const Mesh* shadow = MeshOrNull(players[0].shadowMesh);
    auto shadowHeights = [&](float x, float y, float z) {
        SetCamera(0, 0, 0, 0, 0, 0);
        DrawShadow(world, shadow, 0, x, y, z);
        std::vector<std::int32_t> heights;
        for (int i = 0; i < renderContext.queueCount; ++i)
            for (int v = 0; v < 3; ++v) heights.push_back(renderContext.queue[i].y[v]);
        return heights;
    };
    // Two empty cells down to the ramp, 400 units along its rise and 100
    // across it: 400 * 456 / 511 + 5.
    const auto onRamp = shadowHeights(512 + 400, 2 * 512 + 300, 512 + 100);
    ASSERT_FALSE(onRamp.empty());
    for (const std::int32_t h : onRamp) EXPECT_EQ(h, 361);
    // A figure sunk below the ramp's surface casts none; nor one over an
    // empty column.
    EXPECT_TRUE(shadowHeights(512 + 400, 300, 512 + 100).empty());
    EXPECT_TRUE(shadowHeights(100, 2 * 512 + 300, 100).empty());
}

TEST_F(Scene, ShadowsFallOnlyOnDrawnRows) {
    // A floor at row 0 under an empty column 40 rows tall.
    LevelData level = EmptyLevel(3, 40, 3);
    SetCell(level, 1, 0, 1, 2);
    ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
    const Mesh* shadow = MeshOrNull(players[0].shadowMesh);
    auto shadowDrawn = [&](int figureRow, int cameraRow) {
        PlacePlayer(768, cameraRow * 512 + 300, 768, 0, 0);
        SetCamera(0, 0, 0, 0, 0, 0);
        DrawShadow(world, shadow, 0, 768, figureRow * 512 + 300, 768);
        return renderContext.queueCount > 0;
    };
    // Rows down to eight below the camera's are drawn: the floor is from
    // row 8, not from row 9, and a figure higher up casts no shadow on it.
    EXPECT_TRUE(shadowDrawn(8, 8));
    EXPECT_FALSE(shadowDrawn(9, 9));
    EXPECT_FALSE(shadowDrawn(39, 39));
    // Seen from low enough, the floor under a figure far above has it.
    EXPECT_TRUE(shadowDrawn(39, 8));
}

TEST_F(Scene, HeadingsAtTheEndsOfTheIntRangeTurnFiguresWithoutOverflow) {
    // Headings no editor writes but a level file can hold, for the start
    // (every player) and for three sentries in front of the camera.
    LevelData level = Corridor();
    level.state.startX = 2;
    level.state.startZ = 2;
    const float y = 512 + 240;
    level.sentries = {{2 * 512 + 256, y, 5 * 512, 3e9f},
                      {2 * 512 + 256, y, 6 * 512, -3e9f},
                      {2 * 512 + 256, y, 7 * 512, 2147483648.0f}};
    for (const std::int32_t start : {INT32_MIN, INT32_MAX}) {
        level.state.startHeading = start;
        ASSERT_TRUE(LoadSceneLevel(dir, level, 160, 120));
        lastPlayer = 1; // the second player stands at the start too
        players[0].cameraDistance = 1024;
        UpdateLocalView();
        DrawPlayFrame(world);
        EXPECT_GT(PixelsNotOf(FogColour()), 0) << start;
    }
}

TEST_F(Scene, TextOfBothFontsWithACarriageReturn) {
    ASSERT_TRUE(LoadSceneLevel(dir, EmptyLevel(1, 1, 1), 320, 240));
    ClearFrame(SceneColour(12, 2));
    DrawText("HELLO\rKELVANE 2017", true, 0.1, 0.05);
    DrawText("THE BLUE:012\rTOOL", false, 0.6, 0.1);
    EXPECT_TRUE(MatchesReference("text_fonts"));

    EXPECT_DOUBLE_EQ(TextWidth("ABCD", true), 0.1);
    EXPECT_DOUBLE_EQ(TextWidth("ABCD", false), 0.05);
    EXPECT_EQ(ZeroPad(7, 3), "007");
    EXPECT_EQ(ZeroPad(1234, 3), "1234");
    // The zeros fill the whole text to its width, in front of a minus sign.
    EXPECT_EQ(ZeroPad(-5, 3), "0-5");
    EXPECT_EQ(ZeroPad(-12, 2), "-12");
}

namespace {

struct Rect {
    int left, top, width, height;
};

// Bounding boxes of the drawn (non-zero) pixels, one per band of rows.
std::vector<Rect> DrawnBands() {
    const FrameBuffer& b = renderContext.mainBuffer;
    std::vector<Rect> bands;
    int lastRow = -2;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            if (!b.pixels[y * b.width + x]) continue;
            if (y > lastRow + 1) bands.push_back({x, y, 0, 0});
            Rect& r = bands.back();
            const int right = std::max(r.left + r.width, x + 1);
            r.left = std::min(r.left, x);
            r.width = right - r.left;
            r.height = y - r.top + 1;
            lastRow = y;
        }
    }
    return bands;
}

} // namespace

TEST_F(Scene, GlyphSizesAndLineStepFollowTheScreen) {
    ASSERT_TRUE(LoadSceneLevel(dir, EmptyLevel(1, 1, 1), 320, 240));
    // Code 127 is a full block in both test fonts.
    for (const int scale : {1, 2}) {
        SetupViewport(320 * scale, 240 * scale);
        for (const bool big : {true, false}) {
            ClearFrame(0);
            DrawText("\x7f\r\x7f", big, 0.25, 0.5);
            const auto lines = DrawnBands();
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines[0].width, (big ? 7 : 3) * scale);
            EXPECT_EQ(lines[0].height, (big ? 15 : 7) * scale);
            EXPECT_EQ(lines[1].top - lines[0].top, (big ? 16 : 8) * scale); // one line down
            EXPECT_EQ(lines[1].left, lines[0].left);
        }
    }
    // Codes without a glyph leave a gap, in either font.
    ClearFrame(0);
    DrawText("\x01\x1f\x84\xc8\xff", false, 0.2, 0.2);
    DrawText("\x01\x1f\x84\xc8\xff", true, 0.5, 0.2);
    EXPECT_EQ(PixelsNotOf(0), 0);
}

namespace {

// Sixteen triangles in eight upright strips across the view, left to right,
// one colour per strip: the first n faces cover the left n/16 of the picture.
MeshSlot CoveringTransition() {
    MeshSlot mesh = MakeMesh(17, 15);
    if (!mesh) return mesh;
    for (int i = 0; i <= 8; ++i) {
        mesh->x[2 * i] = mesh->x[2 * i + 1] = -240 + 60 * i;
        mesh->y[2 * i] = 180;
        mesh->y[2 * i + 1] = -180;
        mesh->z[2 * i] = mesh->z[2 * i + 1] = 0;
    }
    for (int s = 0; s < 8; ++s) {
        const auto colour = static_cast<std::uint16_t>(SceneColour(s + 1, 12));
        const auto v = static_cast<std::uint16_t>(2 * s);
        mesh->faces[2 * s] =
            Face{v, std::uint16_t(v + 2), std::uint16_t(v + 3), colour, 0, 1, kFaceFlat};
        mesh->faces[2 * s + 1] =
            Face{std::uint16_t(v + 3), std::uint16_t(v + 1), v, colour, 0, 1, kFaceFlat};
    }
    return mesh;
}

} // namespace

TEST_F(Scene, TransitionCoversThePictureStepByStep) {
    ASSERT_TRUE(LoadSceneLevel(dir, EmptyLevel(1, 1, 1), 160, 120));
    transitionMeshes[1] = CoveringTransition();
    const std::uint8_t background = SceneColour(12, 5);

    ClearFrame(background);
    DrawTransition(0, 1);
    EXPECT_EQ(PixelsNotOf(background), 0);
    for (const int level : {1, 8, 16}) {
        ClearFrame(background);
        DrawTransition(level, 1);
        EXPECT_EQ(transitionMeshes[1]->lastFace, 15);
        EXPECT_TRUE(MatchesReference("transition_" + std::to_string(level)));
    }
    // Beyond 16 it stays fully covered (the rasterizer never fills the last
    // row and column).
    DrawTransition(40, 1);
    EXPECT_EQ(PixelsNotOf(background), 159 * 119);

    // A mesh of fewer faces shows what it has and keeps its own count.
    transitionMeshes[1]->lastFace = 3;
    ClearFrame(background);
    DrawTransition(16, 1);
    EXPECT_EQ(transitionMeshes[1]->lastFace, 3);
    EXPECT_GT(PixelsNotOf(background), 0);
    EXPECT_LT(PixelsNotOf(background), 160 * 120 / 3);
}
