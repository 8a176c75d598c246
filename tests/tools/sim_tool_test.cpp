// The simulation tool: its route lines, and runs of the built kelvane-sim on
// the shipped data set.
#include "route.h"
#include "run_tool.h"
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

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

TEST(Route, ALineThatDoesNotParseNamesItsFileAndLine) {
    for (const char* bad : {"Route = fly 3", "Route = goto 3", "Route = face up", "Route = wait -5",
                            "Route = jump timeout 0", "Route = wait-until cell 1 2", "Route ="}) {
        const auto route = ParseRoute(std::string("Size = 1 1 1\n") + bad + "\n", "l.txt");
        EXPECT_FALSE(route) << bad;
        EXPECT_EQ(route.error.rfind("l.txt:2: ", 0), 0u) << route.error;
    }
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
