// The simulation tool: its route lines, and runs of the built kelvane-sim on
// the shipped data set.
#include "danger.h"
#include "route.h"
#include "route_player.h"
#include "run_tool.h"
#include "support/test_support.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "platform/keys.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

const std::string kTool = std::string(KELVANE_BINARY_DIR) + "/tools/sim/kelvane-sim";
const std::string kData = std::string(KELVANE_BINARY_DIR) + "/data";
const std::string kLevel = "LEVEL/01-FirstSteps.lev";

RunResult runTool(const TempDir& dir, const std::string& arguments) {
    return RunTool(kTool, dir, arguments);
}

std::string readText(const std::string& file) {
    const auto bytes = ReadBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(Route, StepsAreReadFromTheRouteLinesOnly) {
    const auto route = ParseRoute("; a comment\nSize = 3 3 3\nRoute = face E\n"
                                  "route = goto 3 -1 timeout 900 ; east\n"
                                  "Route = wait-until cell 1 2 3\nRoute = wait-until won\n",
                                  "x.txt");
    ASSERT_TRUE(route) << route.error;
    ASSERT_EQ(route->size(), 4u);
    EXPECT_EQ((*route)[0].kind, RouteKind::Face);
    EXPECT_EQ((*route)[0].a, 8192);
    EXPECT_EQ((*route)[1].kind, RouteKind::Goto);
    EXPECT_EQ((*route)[1].b, -1);
    EXPECT_EQ((*route)[1].timeoutMs, 900);
    EXPECT_EQ((*route)[1].line, 4);
    EXPECT_EQ((*route)[2].c, 3);
    EXPECT_EQ((*route)[3].kind, RouteKind::WaitWon);
}

TEST(Route, AClearWayListsItsColumns) {
    const auto route = ParseRoute("Route = wait-until clear 3 11 9 2 3 timeout 5000\n", "x.txt");
    ASSERT_TRUE(route) << route.error;
    ASSERT_EQ(route->size(), 1u);
    EXPECT_EQ((*route)[0].kind, RouteKind::WaitClear);
    EXPECT_EQ((*route)[0].a, 3);
    ASSERT_EQ((*route)[0].way.size(), 2u);
    EXPECT_EQ((*route)[0].way[1], (std::array<std::int32_t, 2>{2, 3}));
    EXPECT_EQ((*route)[0].timeoutMs, 5000);
}

TEST(Route, ALineThatDoesNotParseNamesItsFileAndLine) {
    for (const char* bad : {"Route = fly 3", "Route = goto 3", "Route = face up", "Route = wait -5",
                            "Route = jump timeout 0", "Route = wait-until cell 1 2", "Route =",
                            "Route = wait-until clear 3", "Route = wait-until clear 3 4 5 6",
                            "Route = wait-until clear -1 4 5", "Route = wait-until clear 2 x 5"}) {
        const auto route = ParseRoute(std::string("Size = 1 1 1\n") + bad + "\n", "l.txt");
        EXPECT_FALSE(route) << bad;
        EXPECT_EQ(route.error.rfind("l.txt:2: ", 0), 0u) << route.error;
    }
}

// The route player on its own, on a bare world: the hero turning and the
// sentries about him, frame by frame as the game moves them.
class RouteSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        localPlayer = 0;
        sentryCount = 0;
    }
    void TearDown() override { ClearWorldTables(); }

    // Runs `line` until it is done, turning the hero as the game does;
    // returns the frames it took, or -1 after `limit`.
    int framesFor(const std::string& line, int limit) {
        const auto steps = ParseRoute(line + "\n", "t.txt");
        EXPECT_TRUE(steps) << steps.error;
        RoutePlayer player(*steps);
        PlayerRecord& p = players[0];
        std::int32_t now = 0;
        for (int frame = 0; frame < limit; ++frame) {
            const KeySet keys = player.NextKeys(now);
            EXPECT_TRUE(player.Failure().empty()) << player.Failure();
            if (player.Finished()) return frame;
            if (keys[kVkRight]) p.turnRate = frameScaled(static_cast<float>(p.turnSpeed));
            if (keys[kVkLeft]) p.turnRate = -frameScaled(static_cast<float>(p.turnSpeed));
            p.heading += p.turnRate;
            p.turnRate -= p.turnRate * std::min(static_cast<float>(frameMs) / 180.0f, 1.0f);
            now += frameMs;
        }
        return -1;
    }
};

TEST_F(RouteSteps, FaceComesToRestOnAnyHeadingAtEveryFrameTime) {
    // A single press turns the hero some 1800 units, so small turns and
    // long frames need a counter-press at the right moment.
    for (int ms : {5, 20, 50, 90}) {
        frameMs = ms;
        for (int heading = -16000; heading <= 16000; heading += 1373) {
            players[0].heading = 6500;
            players[0].turnRate = 0;
            const int frames =
                framesFor("Route = face " + std::to_string(6500 + heading), 20000 / ms);
            EXPECT_GE(frames, 0) << ms << " ms, turning by " << heading;
            const float left = std::remainder(players[0].heading - 6500.0f - heading, 32768.0f);
            EXPECT_LT(std::fabs(left), 200.0f) << ms << " ms, turning by " << heading;
        }
    }
}

TEST_F(RouteSteps, AClearWayWaitsForEverySentryToKeepAwayFromIt) {
    frameMs = 50;
    players[0].x = 256, players[0].z = 256; // column 0 0
    sentryCount = 2;
    sentries[1].x = 9 * 512 + 256, sentries[1].z = 5 * 512 + 256; // 4 cells from the way
    sentries[2].x = 256, sentries[2].z = 3 * 512 + 256;           // 3 cells from the hero
    // The way runs east to column 9 0, then north to 9 9.
    EXPECT_EQ(framesFor("Route = wait-until clear 3 9 0 9 9", 10), -1);
    EXPECT_GE(framesFor("Route = wait-until clear 3 9 0", 10), 0);
    EXPECT_EQ(framesFor("Route = wait-until clear 4 9 0", 10), -1);
    sentries[1].x = 4 * 512 + 256;
    EXPECT_GE(framesFor("Route = wait-until clear 3 9 0 9 9", 10), 0);
}

// The danger measures on a bare world, one play frame at a time.
class Danger : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        localPlayer = 0;
        world.frame = 0;
        players[0].x = 1000, players[0].y = 600, players[0].z = 1000;
        sentryCount = 2;
        sentries[1].x = 4000, sentries[1].y = 600, sentries[1].z = 5000; // 5000 away
        sentries[2].x = 1000, sentries[2].y = 600, sentries[2].z = 4000; // 3000 away
        sentries[1].state = sentries[2].state = 3;                       // roaming
    }
    void TearDown() override { ClearWorldTables(); }
    void playFrame() {
        ++world.frame;
        MeasureDanger(measures);
    }
    DangerMeasures measures;
};

TEST_F(Danger, CountsPlayFramesInWhichAnySentryChasesOnceEach) {
    playFrame();
    sentries[2].state = 0;
    playFrame();
    MeasureDanger(measures); // no play frame ran: the transition, a menu
    sentries[1].state = 0;   // two chasing count as one frame
    playFrame();
    sentries[1].state = sentries[2].state = 1; // lost sight
    playFrame();
    EXPECT_EQ(measures.chaseFrames, 2);
}

TEST_F(Danger, KeepsTheNearestApproachInWholeWorldUnits) {
    EXPECT_NE(DescribeDanger(measures).find("hero.closestSentry=-1\n"), std::string::npos);
    playFrame();
    EXPECT_DOUBLE_EQ(measures.closestSentry, 3000);
    sentries[1].x = 1000 + 300, sentries[1].y = 600 + 400, sentries[1].z = 1000; // 500 away
    playFrame();
    sentries[1].x = 1000; // it leaves again; the nearest stays
    sentries[1].z = 9000;
    playFrame();
    EXPECT_DOUBLE_EQ(measures.closestSentry, 500);
    EXPECT_EQ(DescribeDanger(measures), "sentries.chaseFrames=0\nhero.closestSentry=500\n");
    sentryCount = 0; // a level without sentries measures nothing
    DangerMeasures none;
    ++world.frame;
    MeasureDanger(none);
    EXPECT_EQ(DescribeDanger(none), "sentries.chaseFrames=0\nhero.closestSentry=-1\n");
}

TEST(SimTool, WinsTheFirstLevelFromItsRouteAndWritesWhatItDid) {
    TempDir dir;
    const std::string source = std::string(KELVANE_SOURCE_DIR) + "/data/levels/01-first-steps.txt";
    const RunResult run =
        runTool(dir, "--data '" + kData + "' --level " + kLevel + " --route '" + source +
                         "' --until won --frame-ms 50 --dump-state '" + dir.file("dump.txt") +
                         "' --emit-script '" + dir.file("keys.txt") + "' --trace '" +
                         dir.file("trace.txt") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string dump = readText(dir.file("dump.txt"));
    EXPECT_NE(dump.find("player.cell=2,1,10\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("lingot.20=0\n"), std::string::npos);
    EXPECT_NE(dump.find("dead=0\n"), std::string::npos);
    EXPECT_EQ(dump.find("won.frame=-1"), std::string::npos);
    // The first level has no sentry to meet.
    EXPECT_NE(dump.find("\nsentries.chaseFrames=0\nhero.closestSentry=-1\n"), std::string::npos);

    // The keys the route pressed, replayed as a script, win the same way.
    const RunResult replay = runTool(
        dir, "--data '" + kData + "' --level " + kLevel + " --script '" + dir.file("keys.txt") +
                 "' --until won --frame-ms 50 --dump-state '" + dir.file("replay.txt") + "'");
    ASSERT_EQ(replay.exitCode, 0) << replay.err;
    EXPECT_EQ(readText(dir.file("replay.txt")), dump);
}

TEST(SimTool, ARouteThatTimesOutSaysWhereTheHeroStood) {
    TempDir dir;
    const std::string route =
        dir.write("stuck.txt", "Route = goto 2 2\nRoute = wait-until cell 9 9 9 timeout 500\n");
    const RunResult run = runTool(dir, "--data '" + kData + "' --level " + kLevel + " --route '" +
                                           route + "' --until won");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("route line 2 (wait-until cell 9 9 9 timeout 500) timed out at frame "),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("with the hero at cell 2 1 2"), std::string::npos) << run.err;
}

TEST(SimTool, BadInputIsRefusedWithExitCodeTwo) {
    TempDir dir;
    const std::string badRoute = dir.write("bad.txt", "Route = goto x\n");
    EXPECT_EQ(runTool(dir, "--level " + kLevel).exitCode, 2);
    EXPECT_EQ(
        runTool(dir, "--data '" + kData + "' --level " + kLevel + " --route '" + badRoute + "'")
            .exitCode,
        2);
    EXPECT_EQ(
        runTool(dir, "--data '" + kData + "' --level LEVEL/none.lev --script '" + badRoute + "'")
            .exitCode,
        2);
    const RunResult missing =
        runTool(dir, "--data '" + kData + "' --level LEVEL/none.lev --route '" +
                         dir.write("ok.txt", "Route = wait 10\n") + "'");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("could not be started"), std::string::npos) << missing.err;
}
