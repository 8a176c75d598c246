#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "formats/definitions.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/scramble_text.h"
#include "shell/display_options.h"
#include "shell/form_services.h"
#include "shell/play_screen.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/data_set.h"
#include "world/game_services.h"
#include "world/world.h"

namespace {

// A data folder with definitions the settings can load, made the program
// folder.
class SettingsTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ForgetDefinitions();
        WriteMiniDataSet(data);
        shellState.ProgramFolder = data.path().string();
        inData = std::make_unique<ScopedCurrentDir>(data.path());
    }
    void TearDown() override {
        inData.reset();
        ShellTest::TearDown();
    }

    std::string localIni() const { return data.file("kelv.ini"); }
    std::string userIni() const { return userConfig->file("kelvane/kelv.ini"); }
    static std::string text(const std::string& file) {
        const auto bytes = ReadBytes(file);
        return std::string(bytes.begin(), bytes.end());
    }

    TempDir data;
    std::unique_ptr<ScopedCurrentDir> inData;
};

TEST(SettingsValues, WindowPlaceIsFittedToTheScreenThatHoldsIt) {
    const std::vector<WindowPlace> screens = {{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    // Fits on the second screen: the file's values stay.
    const WindowPlace fits = ClampWindowPlace({2000, 50, 640, 480}, screens);
    EXPECT_EQ(fits.left, 2000);
    EXPECT_EQ(fits.width, 640);
    // Far off to the right and too tall: moved onto the nearest screen, cut.
    const WindowPlace off = ClampWindowPlace({9000, -300, 800, 5000}, screens);
    EXPECT_EQ(off.left, 1920 + 1280 - 800);
    EXPECT_EQ(off.top, 0);
    EXPECT_EQ(off.height, 1024);
    const WindowPlace empty = ClampWindowPlace({10, 10, -5, 0}, screens);
    EXPECT_EQ(empty.width, 1);
    EXPECT_EQ(empty.height, 1);
    const WindowPlace noScreen = ClampWindowPlace({9000, 9000, 9, 9}, {});
    EXPECT_EQ(noScreen.left, 9000);
}

TEST_F(SettingsTest, WithoutAnyFileTheGameStartsWithTheDefaults) {
    ASSERT_TRUE(ReadSettings());
    EXPECT_EQ(SettingsPath(), userIni());
    const WindowPlace place = FormWindowedPlace();
    EXPECT_EQ(place.left, 100);
    EXPECT_EQ(place.top, 100);
    EXPECT_EQ(place.width, 320);
    EXPECT_EQ(place.height, 240);
    EXPECT_EQ(CurrentPictureSize().width, 320);
    EXPECT_EQ(CurrentPictureSize().height, 240);
    EXPECT_EQ(shellState.TextureDetail, "High");
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(LoadedDefinitionFile(), kDefinitionFile);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsTest, ResolutionAndFullScreen) {
    struct Case {
        const char* ini;
        int width, height;
        bool fullScreen;
    };
    const Case cases[] = {
        {"[General]\nResolution=9\n", 320, 240, false},
        {"[General]\nResolution=-3\nFullscreen=true\n", 320, 240, true},
        {"[General]\nResolution=0\nFullscreen=true\n", 160, 120, false}, // always windowed
        {"[General]\nResolution=0x8\n", 1600, 1200, false},
    };
    for (const Case& c : cases) {
        data.write("kelv.ini", c.ini);
        LeaveFormFullScreen();
        shellState.ExclusiveMode = false;
        ASSERT_TRUE(ReadSettings()) << c.ini;
        EXPECT_EQ(CurrentPictureSize().width, c.width) << c.ini;
        EXPECT_EQ(CurrentPictureSize().height, c.height) << c.ini;
        EXPECT_EQ(IsFullScreen(), c.fullScreen) << c.ini;
        EXPECT_EQ(shellState.ExclusiveMode, c.fullScreen) << c.ini;
    }
}

TEST_F(SettingsTest, MalformedFileStartsWithDefaultsAndIsRewrittenWhole) {
    std::string ini = "[General]\nResolution=-3\nWidth=abc\nHeight=0x1E0\nTexture=yes\n";
    for (int i = 0; i < 4096; ++i) ini += static_cast<char>(i * 7 % 256);
    ini += "\n" + std::string(10u << 20, 'x') + "\n";
    data.write("kelv.ini", ini);
    ASSERT_TRUE(ReadSettings());
    EXPECT_EQ(CurrentPictureSize().width, 320);
    EXPECT_EQ(CurrentPictureSize().height, 240);
    EXPECT_EQ(FormWindowedPlace().width, 320);
    EXPECT_EQ(FormWindowedPlace().height, 480);
    EXPECT_EQ(shellState.TextureDetail, "Low");

    ASSERT_TRUE(WriteSettings());
    EXPECT_TRUE(messages.empty());
    const ProfileData written = ReadProfile(localIni());
    EXPECT_EQ(ProfileString(written, "General", "Resolution", ""), "2");
    EXPECT_EQ(ProfileString(written, "General", "Width", ""), "320");
    EXPECT_EQ(ProfileString(written, "General", "Height", ""), "480");
    EXPECT_EQ(ProfileString(written, "General", "Top", ""), "100");
    EXPECT_EQ(ProfileString(written, "General", "Left", ""), "100");
    EXPECT_EQ(ProfileString(written, "General", "Fullscreen", ""), "False");
    EXPECT_EQ(ProfileString(written, "General", "Texture", ""), "False");
    EXPECT_EQ(ProfileString(written, "Network", "RefreshInterval", ""), "0");
    EXPECT_GT(ReadBytes(localIni()).size(), 10u << 20); // nothing of it is lost
}

TEST_F(SettingsTest, FullScreenWritesTheLastWindowedPlace) {
    data.write("kelv.ini", "[General]\nLeft=30\nTop=40\nWidth=400\nHeight=300\nResolution=4\n"
                           "Fullscreen=True\nIntegerScaling=TRUE\n[Network]\nNickName=Kim\n");
    ASSERT_TRUE(ReadSettings());
    ASSERT_TRUE(IsFullScreen());
    EXPECT_EQ(shellState.Nickname, "Kim");
    ASSERT_TRUE(WriteSettings());
    const ProfileData written = ReadProfile(localIni());
    EXPECT_EQ(ProfileString(written, "General", "Left", ""), "30");
    EXPECT_EQ(ProfileString(written, "General", "Width", ""), "400");
    EXPECT_EQ(ProfileString(written, "General", "Resolution", ""), "4");
    EXPECT_EQ(ProfileString(written, "General", "Fullscreen", ""), "True");
    EXPECT_EQ(ProfileString(written, "General", "IntegerScaling", ""), "True");
    EXPECT_EQ(ProfileString(written, "Network", "NickName", ""), "Kim");
}

// The two volumes: read into the mixer's buses, damaged values cut or left
// at 100, and written back as they are now.
TEST_F(SettingsTest, VolumesAreReadCutAndWrittenBack) {
    struct Case {
        const char* ini;
        int music, effects;
    };
    const Case cases[] = {
        {"", 100, 100},
        {"[Sound]\nMusicVolume=50\nEffectsVolume=0\n", 50, 0},
        {"[Sound]\nMusicVolume=-20\nEffectsVolume=400\n", 0, 100},
        {"[Sound]\nMusicVolume=loud\nEffectsVolume=99999999999\n", 100, 100},
        {"[Sound]\nMusicVolume=0x1E\n", 30, 100},
    };
    for (const Case& c : cases) {
        const MixVolumes read = ReadSoundSettings(ParseProfile(c.ini));
        EXPECT_EQ(read.music, c.music) << c.ini;
        EXPECT_EQ(read.effects, c.effects) << c.ini;
    }
    data.write("kelv.ini", "[Sound]\nMusicVolume=40\nEffectsVolume=70\n");
    ASSERT_TRUE(ReadSettings());
    EXPECT_EQ(CurrentMixVolumes().music, 40);
    EXPECT_EQ(CurrentMixVolumes().effects, 70);
    SetMixVolumes(MixVolumes{120, -1});
    ASSERT_TRUE(WriteSettings());
    const ProfileData written = ReadProfile(localIni());
    EXPECT_EQ(ProfileString(written, "Sound", "MusicVolume", ""), "100");
    EXPECT_EQ(ProfileString(written, "Sound", "EffectsVolume", ""), "0");
}

// Whether a created game asks the router: on unless the file says False,
// written back as chosen; a choice made in the lobby is not read over.
TEST_F(SettingsTest, PortMappingChoiceIsReadOnceAndWrittenBack) {
    ReadNickname();
    EXPECT_EQ(shellState.PortMapping, true);
    shellState.PortMapping.reset();
    data.write("kelv.ini", "[Network]\nPortMapping=false\n");
    ReadNickname();
    EXPECT_EQ(shellState.PortMapping, false);
    shellState.PortMapping = true; // the lobby's check box
    ASSERT_TRUE(ReadSettings());
    EXPECT_EQ(shellState.PortMapping, true);
    ASSERT_TRUE(WriteSettings());
    EXPECT_EQ(ProfileString(ReadProfile(localIni()), "Network", "PortMapping", ""), "True");
}

TEST_F(SettingsTest, SettingsNeverReadAreNotOverwritten) {
    data.write("kelv.ini", "[General]\nResolution=7\n");
    shellState.Nickname = "Lee";
    ASSERT_TRUE(WriteSettings());
    const ProfileData written = ReadProfile(localIni());
    EXPECT_EQ(ProfileString(written, "General", "Resolution", ""), "7");
    EXPECT_EQ(ProfileString(written, "General", "Width", "none"), "none");
    EXPECT_EQ(ProfileString(written, "Network", "NickName", ""), "Lee");
}

TEST_F(SettingsTest, WhereTheFileLives) {
    EXPECT_EQ(SettingsPath(), userIni());
    data.write("kelv.ini", "");
    EXPECT_EQ(SettingsPath(), localIni());
    ASSERT_EQ(::chmod(localIni().c_str(), 0444), 0);
    EXPECT_EQ(SettingsPath(), userIni()); // read-only, even for the superuser
    ASSERT_EQ(::chmod(localIni().c_str(), 0644), 0);

    const std::string config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::optional<std::string> savedHome =
        home ? std::optional<std::string>(home) : std::nullopt;
    setenv("XDG_CONFIG_HOME", "relative/folder", 1);
    setenv("HOME", "/home/someone", 1);
    ::unlink(localIni().c_str());
    EXPECT_EQ(SettingsPath(), "/home/someone/.config/kelvane/kelv.ini");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (savedHome)
        setenv("HOME", savedHome->c_str(), 1);
    else
        unsetenv("HOME");

    // The per-user folder is made when the file is first written.
    ASSERT_TRUE(SaveGame(1, 2));
    EXPECT_TRUE(FileExists(userIni()));
}

TEST_F(SettingsTest, TheMenuSavesAndLoadsTheScrambledGame) {
    InstallPlayServices();
    shellState.LevelFiles = std::vector<std::string>(13, "LEVEL\\gone.lev");
    shellState.LevelCount = 13;
    data.write("kelv.ini", "");
    players[0].levelIndex = 0;
    players[0].lives = 3;
    ASSERT_TRUE(RequestSaveGame());
    EXPECT_NE(text(localIni()).find("[Save]\nIndex=223456\n"), std::string::npos);

    players[0].levelIndex = 12;
    ASSERT_TRUE(RequestSaveGame());
    EXPECT_EQ(ScrambleText(GetProfileString(localIni(), "Save", "Index", "")), "300012");
    players[0].levelIndex = 1;
    players[0].lives = 0;
    shellState.LevelCount = 5; // the list got shorter: the last level
    RequestLoadGame();
    EXPECT_EQ(players[0].levelIndex, 4);
    EXPECT_EQ(players[0].lives, 3);
    // The level itself was entered (and found missing).
    EXPECT_EQ(messages,
              std::vector<std::string>{"The file LEVEL\\gone.lev is missing or invalid."});
    gameServices = GameServices{};
}

TEST(SavedGameText, DamagedOrOutOfRangeValues) {
    for (const char* bad : {"12a", "", "-5", "2147483648", " 12", "0x12"}) {
        const SavedGame game = DecodeSavedGame(ScrambleText(bad), 10);
        EXPECT_EQ(game.level, 0) << bad;
        EXPECT_EQ(game.lives, 3) << bad;
    }
    const SavedGame many = DecodeSavedGame(ScrambleText("15000004"), 10);
    EXPECT_EQ(many.lives, 99);
    EXPECT_EQ(many.level, 4);
    const SavedGame largest = DecodeSavedGame(ScrambleText("2147483647"), 10);
    EXPECT_EQ(largest.lives, 99);
    EXPECT_EQ(largest.level, 9);
    EXPECT_EQ(DecodeSavedGame(ScrambleText("0000300001"), 0).level, 0); // no level list
}

TEST_F(SettingsTest, RefusedWritesLeaveTheOldFileWhole) {
    data.write("kelv.ini", "[Save]\nIndex=x\n");
    ExtendSparse(localIni(), (16u << 20) + 1); // too large to be read whole
    EXPECT_FALSE(SaveGame(3, 3));
    EXPECT_FALSE(WriteSettings());
    EXPECT_EQ(messages, std::vector<std::string>(2, "Ne peut écrire dans " + localIni()));
    EXPECT_EQ(ReadBytes(localIni()).size(), (16u << 20) + 1);

    // A per-user folder that cannot be made.
    messages.clear();
    ::unlink(localIni().c_str());
    userConfig->write("kelvane", "a file, not a folder");
    EXPECT_FALSE(SaveGame(3, 3));
    EXPECT_EQ(messages, std::vector<std::string>{"Ne peut écrire dans " + userIni()});
}

} // namespace
