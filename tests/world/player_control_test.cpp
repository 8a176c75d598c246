#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/in_game_menu.h"
#include "world/level_state.h"
#include "world/player_control.h"
#include "world/world.h"

namespace {

// The player stands in cell (2, 1, 2) of a small world, on its floor.
class PlayerControl : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(6, 4, 6));
        ClearWorldEvents();
        localPlayer = 0;
        world.menu = InGameMenu{};
        timerRunning = 0;
        timeLeftMs = 0;
        frameMs = 50;
        p().x = 2 * 512 + 256;
        p().y = 512 + 240;
        p().z = 2 * 512 + 256;
        p().onGround = 1;
    }
    void TearDown() override {
        ClearWorldTables();
        world.menu = InGameMenu{};
    }

    static PlayerRecord& p() { return players[0]; }

    // One frame with exactly these control flags held.
    static void frame(std::initializer_list<Control> held = {}) {
        p().previousControls = p().controls;
        p().controls = {};
        for (Control c : held) p().controls[c] = 1;
        playerControl();
    }

    static std::vector<WorldEvent> events(WorldEventKind kind) {
        std::vector<WorldEvent> found;
        for (const WorldEvent& e : RecentWorldEvents())
            if (e.kind == kind) found.push_back(e);
        return found;
    }
    static std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const WorldEvent& e : events(WorldEventKind::Message)) texts.push_back(e.text);
        return texts;
    }
};

TEST_F(PlayerControl, TheLastIngotOfATypeIsCountedOnceAndSent) {
    objectTypes[5].undefined = 0;
    objectTypes[5].Lingot = 1;
    objectTypes[5].LingotDoor = 7;
    setCell(2, 1, 2, 5);
    setCell(4, 1, 2, 5);
    ASSERT_EQ(objectTypes[5].lingotCount, 2);

    frame();
    EXPECT_EQ(cellAt(2, 1, 2), 0);
    EXPECT_EQ(objectTypes[5].lingotCount, 1);
    p().x = 4 * 512 + 256;
    frame();
    frame(); // the emptied cell gives nothing more
    EXPECT_EQ(objectTypes[5].lingotCount, 0);
    const auto sent = events(WorldEventKind::Send);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].value, kEventIngot);
    EXPECT_EQ(sent[1].x, 4);
    EXPECT_EQ(sent[1].text, "5"); // the type taken
}

TEST_F(PlayerControl, ATypeThatIsIngotAndTimerGivesBoth) {
    objectTypes[5].undefined = 0;
    objectTypes[5].Lingot = 1;
    objectTypes[5].Timer = 1;
    objectTypes[5].TimerDuration = 30000;
    objectTypes[5].ActionVolume = 200;
    setCell(2, 1, 2, 5);
    timeLeftMs = 1000;
    frame();
    EXPECT_EQ(objectTypes[5].lingotCount, 0);
    EXPECT_EQ(timerRunning, 1);
    EXPECT_EQ(timeLeftMs, 31000);
    const auto sent = events(WorldEventKind::Send);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].value, kEventIngot);
    EXPECT_EQ(sent[1].value, kEventTimer);
    const auto sounds = events(WorldEventKind::Sound);
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].value, 200);
    EXPECT_EQ(sounds[0].x, 2 * 512 + 256);

    // A duration from the data near the int range holds the timer at its end.
    objectTypes[5].TimerDuration = std::numeric_limits<std::int32_t>::max();
    setCell(2, 1, 2, 5);
    frame();
    EXPECT_EQ(timeLeftMs, std::numeric_limits<std::int32_t>::max());
}

TEST_F(PlayerControl, LivesStopAt99AndLightsAlternate) {
    objectTypes[5].undefined = 0;
    objectTypes[5].OneUp = 1;
    objectTypes[6].undefined = 0;
    objectTypes[6].Light = 1;
    p().lives = 99;
    setCell(2, 1, 2, 5);
    frame();
    EXPECT_EQ(p().lives, 99);
    EXPECT_EQ(cellAt(2, 1, 2), 0); // taken all the same
    p().lives = 3;
    setCell(2, 1, 2, 5);
    frame();
    EXPECT_EQ(p().lives, 4);

    setCell(2, 1, 2, 6);
    frame();
    EXPECT_EQ(p().lightTarget, 2000);
    setCell(2, 1, 2, 6);
    frame();
    EXPECT_EQ(p().lightTarget, 5000);
}

TEST_F(PlayerControl, JumpOnlyFromTheGroundAndNotWhileFalling) {
    p().fallSpeed = -60;
    frame({kJump});
    EXPECT_EQ(p().fallSpeed, -60);
    EXPECT_EQ(p().onGround, 1);

    p().fallSpeed = 0;
    p().onGround = 0;
    frame({kJump});
    EXPECT_EQ(p().fallSpeed, 0);

    p().onGround = 1;
    p().fallSpeed = -51;
    frame({kJump});
    EXPECT_NEAR(p().fallSpeed, 182.857f, 0.001f);
    EXPECT_EQ(p().onGround, 0);

    // From a ladder he lets go, and nothing else is done this frame.
    p().onLadder = 1;
    p().fallSpeed = 0;
    frame({kJump, kTurnRight});
    EXPECT_EQ(p().onLadder, 0);
    EXPECT_NEAR(p().fallSpeed, 182.857f, 0.001f);
    EXPECT_EQ(p().turnRate, 0);
}

TEST_F(PlayerControl, PushingNeedsTheBlockWithinOneBodyHeight) {
    objectTypes[4].undefined = 0;
    objectTypes[4].CanPush = 1;
    p().heading = 8192.4f;
    // Centre at 752, body height 480: rows 1 (512) and 2 (1024) are in reach.
    for (int row : {0, 1, 2, 3}) {
        ClearWorldEvents();
        p().busyMs = 0;
        setCell(3, row, 2, 4);
        p().actionCell = {3, row, 2};
        frame({kAction});
        const auto sent = events(WorldEventKind::Send);
        const bool pushed = row == 1 || row == 2;
        ASSERT_EQ(sent.size(), pushed ? 1u : 0u) << row;
        if (!pushed) continue;
        EXPECT_EQ(sent[0].value, kEventPush);
        EXPECT_EQ(sent[0].y, row);
        EXPECT_EQ(sent[0].text, "8192");
        EXPECT_EQ(p().busyMs, 500);
        EXPECT_EQ(p().pose, kPoseAction);
    }
}

TEST_F(PlayerControl, DiggingAndLeversAreSentWithTheirBusyTimes) {
    objectTypes[3].undefined = 0;
    objectTypes[3].Dig = 1;
    objectTypes[8].undefined = 0;
    objectTypes[8].Lever = 1;
    setCell(3, 0, 2, 3);
    p().actionCell = {3, 0, 2};
    frame({kAction});
    EXPECT_EQ(p().busyMs, 500);
    EXPECT_EQ(p().poseBlendMs, 250);

    p().busyMs = 0;
    setCell(3, 1, 2, 8);
    p().actionCell = {3, 1, 2};
    frame({kAction});
    EXPECT_EQ(p().busyMs, 300);
    const auto sent = events(WorldEventKind::Send);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].value, kEventDig);
    EXPECT_EQ(sent[0].text, "10000");
    EXPECT_EQ(sent[1].value, kEventLever);
}

TEST_F(PlayerControl, TheKeypadMovesTheCameraOnANewPress) {
    p().cameraFarther = 1;
    frame();
    EXPECT_EQ(p().cameraDistance, 512);
    p().previousCameraFarther = 1; // still held
    frame();
    EXPECT_EQ(p().cameraDistance, 512);
    p().cameraDistance = 1536;
    p().previousCameraFarther = 0;
    frame();
    EXPECT_EQ(p().cameraDistance, 1536);
    p().cameraFarther = 0;
    p().cameraCloser = 1;
    frame();
    EXPECT_EQ(p().cameraDistance, 1024);
    EXPECT_EQ(events(WorldEventKind::InterfaceSound).size(), 2u);
}

TEST_F(PlayerControl, TheMenuOpensOnANewPressAndStopsTheHero) {
    frame({kMenu});
    ASSERT_EQ(world.menu.open, 1);
    EXPECT_EQ(world.menu.selected, 0);
    frame({kMenu, kForward}); // the key still held does not close it
    EXPECT_EQ(world.menu.open, 1);
    EXPECT_EQ(p().vx, 0);
    EXPECT_EQ(p().vz, 0);
    frame();
    frame({kMenu});
    EXPECT_EQ(world.menu.open, 0);
}

TEST_F(PlayerControl, MenuMovesWrapAndNeedANewPress) {
    frame({kMenu});
    frame({kForward});
    EXPECT_EQ(world.menu.selected, 6);
    frame({kForward});
    EXPECT_EQ(world.menu.selected, 6);
    frame();
    frame({kBack});
    EXPECT_EQ(world.menu.selected, 0);
    frame();
    frame({kBack});
    EXPECT_EQ(world.menu.selected, 1);
    EXPECT_EQ(events(WorldEventKind::InterfaceSound).size(), 4u); // open and three moves
}

TEST_F(PlayerControl, FastFramesReadTheMenuEveryOtherFrameWithoutLosingPresses) {
    frameMs = 20;
    frame({kMenu});
    frame({kBack}); // read: the next frame is skipped
    EXPECT_EQ(world.menu.selected, 1);
    frame();
    frame();        // read: nothing pressed
    frame({kBack}); // skipped, so counted at the next read
    frame({kBack});
    EXPECT_EQ(world.menu.selected, 2);
    frame({kBack});
    frame({kBack}); // held since the last read
    EXPECT_EQ(world.menu.selected, 2);
    frame();        // let go in a skipped frame
    frame({kBack}); // and pressed again
    EXPECT_EQ(world.menu.selected, 3);
    frameMs = 50; // every frame is read
    frame();
    frame({kBack});
    frame({kBack});
    EXPECT_EQ(world.menu.selected, 4);
}

TEST_F(PlayerControl, MenuOptions) {
    struct Case {
        int option;
        WorldEventKind request;
        const char* message;
        bool staysOpen;
    };
    const Case cases[] = {
        {0, WorldEventKind::Restart, "LEVEL RESTARTED", false},
        {1, WorldEventKind::Load, "GAME LOADED", false},
        {2, WorldEventKind::Save, "GAME SAVED", false},
        {kMenuControls, WorldEventKind::ControlsPage, "", true},
        {kMenuQuit, WorldEventKind::LevelEnd, "", true},
        {kMenuContinue, WorldEventKind::InterfaceSound, "", false},
    };
    for (const Case& c : cases) {
        ClearWorldEvents();
        world.menu = InGameMenu{1, c.option, 0, {}};
        frame();
        frame({kAction});
        EXPECT_EQ(world.menu.open, c.staysOpen ? 1 : 0) << c.option;
        EXPECT_EQ(events(c.request).size(), 1u) << c.option;
        EXPECT_EQ(messages(), std::vector<std::string>(*c.message ? 1 : 0, c.message));
    }
    EXPECT_EQ(events(WorldEventKind::LevelEnd).size(), 0u);
}

TEST_F(PlayerControl, ARefusedSaveIsNotReportedAsSaved) {
    gameServices.saveGame = [] { return false; };
    world.menu = InGameMenu{1, kMenuSave, 0, {}};
    frame();
    frame({kAction});
    gameServices.saveGame = nullptr;
    EXPECT_EQ(events(WorldEventKind::Save).size(), 1u);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(world.menu.open, 0);
}

TEST_F(PlayerControl, TheCameraViewOptionCyclesFourDistances) {
    world.menu = InGameMenu{1, kMenuCameraView, 0, {}};
    for (float expected : {512.0f, 1024.0f, 1536.0f, 0.0f}) {
        frame();
        frame({kJump});
        EXPECT_EQ(p().cameraDistance, expected);
    }
    EXPECT_EQ(world.menu.open, 1);
    EXPECT_EQ(messages(), (std::vector<std::string>{"CAMERA VIEW 1", "CAMERA VIEW 2",
                                                    "CAMERA VIEW 3", "1ST PERSON VIEW"}));
}

class Ladder : public PlayerControl {
  protected:
    // A ladder type in the player's cell, its box wide in x or in z.
    void placeLadder(bool wideInX) {
        ObjectType& l = objectTypes[9];
        l.undefined = 0;
        l.Ladder = 1;
        l.Xmin = wideInX ? 0 : 200;
        l.Xmax = wideInX ? 511 : 300;
        l.Zmin = wideInX ? 200 : 0;
        l.Zmax = wideInX ? 300 : 511;
        setCell(2, 1, 2, 9);
    }
};

TEST_F(Ladder, TakenFromEachSideWhenRightBeforeIt) {
    // The cell starts at 1024; half the body width is 130.
    struct Case {
        bool wideInX;
        float heading;
        float x, z;     // before
        float tooClose; // the position (along the heading's axis) that is refused
        float x2, z2;   // after
        float offX, offZ;
        int heading2;
    };
    const Case cases[] = {
        {true, 0, 1280, 1050, 1100, 1279, 1094, 0, 130, 0},
        {true, 16000, 1280, 1500, 1400, 1279, 1454, 0, -130, 16384},
        {false, 8000, 1050, 1280, 1100, 1094, 1279, 130, 0, 8192},
        {false, 25000, 1500, 1280, 1400, 1454, 1279, -130, 0, 24576},
    };
    for (const Case& c : cases) {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(6, 4, 6));
        placeLadder(c.wideInX);
        PlayerRecord& pl = p();
        pl.y = 752;
        pl.heading = c.heading;
        pl.x = c.wideInX ? c.x : c.tooClose;
        pl.z = c.wideInX ? c.tooClose : c.z;
        TakeLadder(pl);
        EXPECT_EQ(pl.onLadder, 0) << c.heading;

        pl.x = c.x;
        pl.z = c.z;
        pl.vx = pl.vz = 7;
        TakeLadder(pl);
        EXPECT_EQ(pl.onLadder, 1) << c.heading;
        EXPECT_EQ(pl.x, c.x2);
        EXPECT_EQ(pl.z, c.z2);
        EXPECT_EQ(pl.ladderOffsetX, c.offX);
        EXPECT_EQ(pl.ladderOffsetZ, c.offZ);
        EXPECT_EQ(pl.heading, c.heading2);
        EXPECT_EQ(pl.ladderHeading, c.heading2);
        EXPECT_EQ(pl.vx, 0);
        EXPECT_EQ(pl.vz, 0);
        pl.onLadder = 0;
    }
}

TEST_F(Ladder, WalkingIntoItTakesHoldButOnlyOfALadder) {
    p().z = 1050;
    frame({kForward});
    EXPECT_EQ(p().onLadder, 0);
    placeLadder(true);
    frame({kForward});
    EXPECT_EQ(p().onLadder, 1);
    EXPECT_EQ(p().vz, 0);
}

TEST_F(Ladder, ClimbsAtTheSameSpeedPerSecondAtAnyFrameTime) {
    placeLadder(true);
    setCell(2, 0, 2, 9); // ladder below too, so climbing down keeps hold
    const float perSecond = 2.0f * 50 * 50 / 90 * 1000 / 90;
    for (int ms : {5, 50, 90}) {
        frameMs = ms;
        p().onLadder = 1;
        frame({kForward});
        EXPECT_NEAR(frameScaled(p().vy) * 1000.0f / static_cast<float>(ms), perSecond, 0.01f) << ms;
        EXPECT_EQ(p().pitchTarget, 6000);
        frame({kBack});
        EXPECT_NEAR(frameScaled(p().vy) * 1000.0f / static_cast<float>(ms), -perSecond, 0.01f)
            << ms;
        EXPECT_EQ(p().onLadder, 1);
    }
    setCell(2, 0, 2, 0); // off the bottom
    frame({kBack});
    EXPECT_EQ(p().onLadder, 0);
}

} // namespace
