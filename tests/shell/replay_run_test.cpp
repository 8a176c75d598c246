// Replays at run time on the shipped first level: what leaving a level
// writes, which wins become best times, and a playback that ends where the
// recording did without writing anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "formats/level_file.h"
#include "formats/records_file.h"
#include "formats/replay_file.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "shell/automation_run.h"
#include "shell/frame_step.h"
#include "shell/play_screen.h"
#include "shell/replay_run.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/test_support.h"
#include "world/game_services.h"
#include "world/random.h"
#include "world/world.h"

namespace {

const std::string kFirstLevel = "LEVEL\\01-FirstSteps.lev";

class ReplayRun : public ShellDataTest {
  protected:
    void SetUp() override {
        ShellDataTest::SetUp();
        InstallPlayServices();
        shellState.Initialised = true;
    }

    void useLevels(const std::vector<std::string>& files) {
        shellState.LevelFiles = files;
        shellState.LevelCount = static_cast<std::int32_t>(files.size());
    }
    void frame() {
        AdvanceVirtualClock(50);
        FrameStep();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    void runUntil(const std::function<bool()>& done, int limit = 400) {
        for (int i = 0; i < limit && !done(); ++i) frame();
    }
    // Wins the level after `n` frames and plays on until the next one starts.
    void winAfter(int n) {
        const std::int32_t starts = shellState.LevelStarts;
        frames(n);
        EndLevel(kLevelCompleted);
        runUntil([starts] { return shellState.LevelStarts > starts; });
        ASSERT_EQ(shellState.LevelStarts, starts + 1);
    }
    std::string kept(const std::string& name) const {
        return (std::filesystem::path(ReplaysFolder()) / name).string();
    }
    BestTimes records() const {
        const auto bytes = ReadWholeFile(RecordsFile());
        if (!bytes) return {};
        return ParseRecords(std::string(bytes->begin(), bytes->end()));
    }
    static PlayerRecord& localRecord() { return players[std::clamp(localPlayer, 0, 3)]; }
};

TEST_F(ReplayRun, LeavingALevelWritesItAndOnlyFasterWinsBecomeBestTimes) {
    ASSERT_EQ(ReplaysFolder(), (userData->path() / "kelvane" / "replays").string());
    useLevels({kFirstLevel, kFirstLevel, kFirstLevel, kFirstLevel});
    StartNewGame(0);
    winAfter(30);
    const std::int32_t first = records().at("01-firststeps");
    EXPECT_GE(first, 30 * 50);
    const auto best = ReadWholeFile(kept("best-01-firststeps.kvr"));
    ASSERT_TRUE(best);
    const Loaded<Replay> last = ReadReplayFile(kept("last.kvr"));
    ASSERT_TRUE(last) << last.error;
    EXPECT_EQ(last->outcome, kReplayOutcomeWon);
    EXPECT_EQ(last->levelTimeMs, first);
    EXPECT_EQ(last->levelPath, kFirstLevel);
    EXPECT_EQ(EncodeReplay(*last), *best);

    // A slower win: last.kvr changes, the best time and its replay do not.
    winAfter(60);
    EXPECT_EQ(records().at("01-firststeps"), first);
    EXPECT_EQ(ReadWholeFile(kept("best-01-firststeps.kvr")), best);
    EXPECT_GT(ReadReplayFile(kept("last.kvr"))->levelTimeMs, first);

    // A faster one replaces both.
    winAfter(10);
    EXPECT_LT(records().at("01-firststeps"), first);
    EXPECT_NE(ReadWholeFile(kept("best-01-firststeps.kvr")), best);
    EXPECT_EQ(CurrentReplayStatus().recordsBest, records().at("01-firststeps"));
}

TEST_F(ReplayRun, ALevelLeftUnwonKeepsNoTimeAndANetworkGameNoReplay) {
    useLevels({kFirstLevel});
    StartNewGame(0);
    frames(20);
    EndLevel(kLevelLost); // quit from the menu
    runUntil([] { return shellState.ScreenState == kScreenTitle; });
    ASSERT_EQ(shellState.ScreenState, kScreenTitle);
    const Loaded<Replay> last = ReadReplayFile(kept("last.kvr"));
    ASSERT_TRUE(last) << last.error;
    EXPECT_EQ(last->outcome, 0);
    EXPECT_FALSE(FileExists(RecordsFile()));

    std::filesystem::remove(kept("last.kvr"));
    lastPlayer = 1;
    StartNewGame(0);
    EXPECT_FALSE(CurrentReplayStatus().recording);
    lastPlayer = 0;
    FinishLevelRecording();
    EXPECT_FALSE(FileExists(kept("last.kvr")));
}

TEST_F(ReplayRun, APlaybackEndsWhereTheRecordingDidAndWritesNothing) {
    useLevels({kFirstLevel});
    StartNewGame(0);
    // Walk and turn with frames of uneven length.
    PressKey(kVkUp);
    for (int i = 0; i < 40; ++i) {
        AdvanceVirtualClock(30 + i % 4 * 10);
        FrameStep();
        if (i == 20) PressKey(kVkLeft);
        if (i == 30) ReleaseKey(kVkLeft);
    }
    ReleaseKey(kVkUp);
    frames(5);
    const PlayerRecord recorded = localRecord();
    const std::uint32_t random = RandomSeedValue();
    FinishLevelRecording();
    const auto bytes = ReadWholeFile(kept("last.kvr"));
    ASSERT_TRUE(bytes);
    ASSERT_EQ(ReadReplayFile(kept("last.kvr"))->frames.size(), 45u);

    // Everything moved elsewhere before the playback.
    localRecord().x += 1000;
    localRecord().lives = 1;
    SeedRandom(7);
    UseVirtualClock(123456);
    StartReplayPlayback(kept("last.kvr"));
    ASSERT_TRUE(messages.empty()) << messages[0];
    ASSERT_TRUE(ReplayPlaying());
    PressKey(kVkDown); // the keyboard is not what moves the hero
    for (int i = 0; i < 45; ++i) {
        BeginAutomatedFrame();
        FrameStep();
    }
    ReleaseKey(kVkDown);
    EXPECT_EQ(CurrentReplayStatus().played, 45);
    EXPECT_TRUE(FrameBudgetUsed());
    EXPECT_EQ(localRecord().x, recorded.x);
    EXPECT_EQ(localRecord().z, recorded.z);
    EXPECT_EQ(localRecord().heading, recorded.heading);
    EXPECT_EQ(localRecord().lives, recorded.lives);
    EXPECT_EQ(RandomSeedValue(), random);
    EXPECT_NE(recorded.x, 0.0f);
    // Leaving the played-back level writes nothing, nor does saving the game.
    EXPECT_TRUE(gameServices.saveGame());
    FinishLevelRecording();
    EXPECT_EQ(ReadWholeFile(kept("last.kvr")), bytes);
}

TEST_F(ReplayRun, APlaybackOnAChangedLevelIsRefusedWithExitCode2) {
    TempDir dir;
    Loaded<LevelData> level = ReadLevelFile(kFirstLevel);
    ASSERT_TRUE(level) << level.error;
    const std::string file = dir.file("mine.lev");
    ASSERT_TRUE(WriteLevelBytes(file, EncodeLevel(*level)));
    useLevels({file});
    StartNewGame(0);
    frames(3);
    FinishLevelRecording();
    level->cells.at(0) = static_cast<std::uint8_t>(level->cells.at(0) == 2 ? 1 : 2);
    ASSERT_TRUE(WriteLevelBytes(file, EncodeLevel(*level)));

    StartReplayPlayback(kept("last.kvr"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("is not the one the replay was recorded on"), std::string::npos)
        << messages[0];
    EXPECT_TRUE(shellState.EndRequested);
    EXPECT_EQ(shellState.ExitCode, 2);
    EXPECT_FALSE(ReplayPlaying());
}

} // namespace
