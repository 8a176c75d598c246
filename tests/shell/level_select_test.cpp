// The level select: which campaign levels are open, moving over the rows,
// and a practice game from a pack that leaves the campaign's list and saved
// game alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/definitions.h"
#include "formats/level_catalogue.h"
#include "platform/user_data.h"
#include "platform/files.h"
#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/profile.h"
#include "shell/joystick.h"
#include "shell/level_select.h"
#include "shell/play_screen.h"
#include "shell/player_input.h"
#include "shell/practice_game.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "shell/startup.h"
#include "shell/title_screen.h"
#include "world/game_services.h"

namespace fs = std::filesystem;

namespace {

LevelSet setOf(LevelSetKind kind, const std::vector<std::string>& paths) {
    LevelSet set;
    set.kind = kind;
    set.title = kind == kSetCampaign ? "CAMPAIGN" : "PACK";
    for (const std::string& path : paths) set.levels.push_back({path, BaseName(path), "", ""});
    return set;
}

std::vector<std::string> statuses(const std::vector<LevelSelectEntry>& entries) {
    std::vector<std::string> out;
    for (const LevelSelectEntry& e : entries) out.push_back(e.status.empty() ? "open" : e.status);
    return out;
}

} // namespace

TEST(LevelSelectEntries, CampaignLevelsOpenAsTheyAreWonPacksAreOpen) {
    const LevelSet campaign =
        setOf(kSetCampaign, {"LEVEL\\01-a.lev", "LEVEL\\02-b.lev", "LEVEL\\03-c.lev",
                             "LEVEL\\04-d.lev", "LEVEL\\05-e.lev"});
    LevelSet pack = setOf(kSetPack, {"/u/levels/p/01-a.lev", "/u/levels/p/02.lev"});
    pack.levels[1].problem = "damaged level file";
    const BestTimes times = {{"01-a", 61000}, {"04-d", 5000}, {"p--02", 7}};

    auto entries = LevelSelectEntries({campaign, pack}, times, false, 0);
    // The campaign's row, its five levels, the pack's row and its two levels.
    EXPECT_EQ(statuses(entries),
              (std::vector<std::string>{"open", "open", "open", "locked", "open", "open", "open",
                                        "open", "damaged level file"}));
    EXPECT_TRUE(entries[1].won);
    EXPECT_EQ(entries[1].bestMs, 61000);
    EXPECT_FALSE(entries[2].won);
    EXPECT_EQ(entries[2].bestMs, -1);
    // The pack's "01-a" is not the campaign's.
    EXPECT_FALSE(entries[7].won);
    EXPECT_EQ(LevelSelectEntryText(entries[1]), "CAMPAIGN|01-a.lev||1|61000|open");
    EXPECT_EQ(LevelSelectEntryText(entries[8]), "PACK|02.lev||1|7|damaged level file");

    // The saved game's level and those before it are open; so is everything
    // with the setting.
    entries = LevelSelectEntries({campaign}, {}, false, 2);
    EXPECT_EQ(statuses(entries),
              (std::vector<std::string>{"open", "open", "open", "open", "locked", "locked"}));
    entries = LevelSelectEntries({campaign}, {}, true, 0);
    EXPECT_EQ(statuses(entries), std::vector<std::string>(6, "open"));
}

namespace {

class LevelSelectTest : public ShellDataTest {
  protected:
    void SetUp() override {
        ShellDataTest::SetUp();
        InstallPlayServices();
        shellState.Initialised = true;
        ASSERT_TRUE(BuildLevelList());
        campaign = shellState.LevelFiles;
        levels = UserLevelsFolder();
        ASSERT_FALSE(levels.empty());
        // A pack of three of the campaign's levels, the middle one damaged,
        // and a broken pack before it.
        fs::create_directories(levels + "/pack");
        fs::copy_file(ResolvePath(campaign[0]), levels + "/pack/01.lev");
        fs::copy_file(ResolvePath(campaign[1]), levels + "/pack/03.lev");
        ASSERT_TRUE(WriteWholeFile(levels + "/pack/02.lev", {1, 2, 3}));
        fs::create_directories(levels + "/bad");
        ASSERT_TRUE(WriteWholeFile(levels + "/bad/pack.ini", {'?', '\n'}));
    }

    // One frame with `vk` held, then one with it released.
    void frame(int vk) {
        PressKey(vk);
        ReadControls();
        LevelSelectUpdate();
        ReleaseKey(vk);
        ReadControls();
        LevelSelectUpdate();
    }

    const LevelSelectEntry& selected() const {
        return levelSelect.entries.at(static_cast<std::size_t>(levelSelect.selected));
    }

    std::vector<std::string> campaign;
    std::string levels;
};

} // namespace

TEST_F(LevelSelectTest, MovesOverLevelRowsAndStartsAPracticeGameOnAWin) {
    shellState.ScreenState = kScreenTitle;
    ReadControls();
    OpenLevelSelect();
    ASSERT_TRUE(levelSelect.open);
    const std::size_t count = campaign.size();
    // Campaign row and levels, the broken pack's row, the pack's row and levels.
    ASSERT_EQ(levelSelect.entries.size(), count + 1 + 1 + 1 + 3);
    EXPECT_EQ(levelSelect.selected, 1); // the first campaign level
    EXPECT_EQ(levelSelect.entries[count + 1].setTitle, "bad");
    EXPECT_EQ(levelSelect.entries[count + 1].status,
              "damaged pack.ini line 1: neither a key nor a section");

    frame(kVkUp); // round the list to the pack's last level
    EXPECT_EQ(selected().setTitle, "pack");
    EXPECT_EQ(selected().level, 2);
    frame(kVkUp);
    EXPECT_EQ(selected().status, "damaged level file");
    frame(kVkSpace); // cannot be played: nothing starts
    EXPECT_FALSE(levelSelect.chosen);
    frame(kVkUp);
    ASSERT_EQ(selected().level, 0);
    EXPECT_EQ(selected().setTitle, "pack");
    frame(kVkRight); // the next set round the list: the campaign
    EXPECT_EQ(levelSelect.selected, 1);
    frame(kVkLeft);
    EXPECT_EQ(selected().setTitle, "pack");
    EXPECT_GT(levelSelect.top, 0); // scrolled down to it

    SaveGame(4, 2);
    frame(kVkSpace);
    ASSERT_TRUE(levelSelect.chosen);
    EXPECT_TRUE(shellState.TransitionActive);
    shellState.TransitionCompleted = true; // the closing transition has covered the title
    ReadControls();
    LevelSelectUpdate();
    ASSERT_EQ(shellState.ScreenState, kScreenPlay);
    EXPECT_TRUE(practiceGame.active);
    EXPECT_EQ(shellState.LevelFiles,
              (std::vector<std::string>{levels + "/pack/01.lev", levels + "/pack/03.lev"}));
    EXPECT_EQ(shellState.LevelFile, levels + "/pack/01.lev");
    EXPECT_EQ(players[localPlayer].lives, kNewGameLives);

    // Saving is refused with a message.
    EXPECT_FALSE(gameServices.saveGame());
    EXPECT_EQ(shellState.MessageText, "PRACTICE GAMES ARE NOT SAVED");

    // Back on the title the list is the campaign's again, and so is the saved game.
    shellState.ScreenState = kScreenTitle;
    shellState.FirstFrame = true;
    ReadControls();
    TitleScreenUpdate();
    EXPECT_FALSE(practiceGame.active);
    EXPECT_EQ(shellState.LevelFiles, campaign);
    EXPECT_EQ(LoadSavedGame().level, 4);
    EXPECT_EQ(LoadSavedGame().lives, 2);
}

TEST_F(LevelSelectTest, LockedLevelsDoNotStartAndMenuGoesBackWithoutReachingTheTitle) {
    shellState.ScreenState = kScreenTitle;
    ReadControls();
    OpenLevelSelect();
    frame(kVkDown);
    EXPECT_EQ(selected().status, "locked");
    frame(kVkSpace);
    EXPECT_FALSE(levelSelect.chosen);
    PressKey(kVkEscape);
    ReadControls();
    EXPECT_TRUE(LevelSelectUpdate());
    EXPECT_FALSE(levelSelect.open);
    ReadControls();
    EXPECT_TRUE(LevelSelectUpdate()); // Escape still held: the title must not end the game
    ReleaseKey(kVkEscape);
    ReadControls();
    EXPECT_FALSE(LevelSelectUpdate());
    EXPECT_FALSE(shellState.EndRequested);

    // With the setting every campaign level is open.
    fs::create_directories(fs::path(SettingsPath()).parent_path());
    ASSERT_TRUE(WriteProfileString(SettingsPath(), "Game", "UnlockAllLevels", "True"));
    OpenLevelSelect();
    frame(kVkDown);
    EXPECT_EQ(selected().status, "");
}

TEST_F(LevelSelectTest, APacksFailingDefinitionsLeaveTheGameOnTheTitle) {
    // Definitions that pass the catalogue's look but name a missing mesh.
    const SmallFile standard = ReadSmallFile(kDefinitionFile);
    ASSERT_EQ(standard.status, SmallFileStatus::Read);
    std::string text(standard.bytes.begin(), standard.bytes.end());
    const std::size_t hero = text.find("Hero=hero.3do");
    ASSERT_NE(hero, std::string::npos);
    text.replace(hero, 13, "Hero=nothere.3do");
    ASSERT_TRUE(WriteWholeFile(levels + "/pack/Standard.bnk",
                               std::vector<std::uint8_t>(text.begin(), text.end())));
    const LevelSet pack = ReadLevelPack(levels + "/pack");
    ASSERT_TRUE(pack.problem.empty()) << pack.problem;

    shellState.ScreenState = kScreenTitle;
    EXPECT_FALSE(StartPracticeGame(pack, 0));
    EXPECT_FALSE(shellState.EndRequested);
    EXPECT_EQ(shellState.ScreenState, kScreenTitle);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("nothere.3do"), std::string::npos) << messages[0];
    EXPECT_FALSE(practiceGame.active);
    EXPECT_EQ(shellState.LevelFiles, campaign);
    // The game's own definitions are back for the campaign.
    EXPECT_EQ(LoadedDefinitionFile(), kDefinitionFile);
}

namespace {

// A centred controller whose back button and A button the test holds.
class BackPad final : public JoystickDevice {
  public:
    void Update() override {}
    std::optional<JoystickCaps> Caps() override { return JoystickCaps{0, 65535, 0, 65535}; }
    std::optional<JoystickPosition> Position() override {
        JoystickPosition p{32768, down ? 65535u : 32768u, a ? 1u : 0u};
        p.back = back;
        return p;
    }
    bool back = false, down = false, a = false;
};

} // namespace

TEST_F(LevelSelectTest, TheControllerOpensAndDrivesIt) {
    BackPad pad;
    InstallJoystickDevice(&pad);
    ReadJoystickCaps();
    fs::create_directories(fs::path(SettingsPath()).parent_path());
    ASSERT_TRUE(WriteProfileString(SettingsPath(), "Game", "UnlockAllLevels", "True"));
    shellState.ScreenState = kScreenTitle;
    shellState.FirstFrame = true;
    const auto titleFrame = [] {
        ReadControls();
        TitleScreenUpdate();
    };
    titleFrame();
    pad.back = true;
    titleFrame();
    ASSERT_TRUE(levelSelect.open);
    pad.back = false;
    titleFrame();
    pad.down = true;
    titleFrame();
    pad.down = false;
    titleFrame();
    EXPECT_EQ(levelSelect.selected, 2);
    pad.a = true;
    titleFrame();
    EXPECT_TRUE(levelSelect.chosen);
    InstallJoystickDevice(nullptr);
}
