#include "shell/startup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "draw/cube_faces.h"
#include "formats/definitions.h"
#include "media/music_player.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/text_case.h"
#include "shell/automation_run.h"
#include "shell/end_text.h"
#include "shell/form_services.h"
#include "shell/joystick.h"
#include "shell/music.h"
#include "shell/net_session.h"
#include "shell/play_screen.h"
#include "shell/replay_run.h"
#include "shell/screen_flow.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "shell/state_dump.h"
#include "world/random_clock.h"
#include "world/world.h"

bool IsNetworkStart(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return false;
    return EqualNoCase(arguments.front(), "/NETWORK");
}

void StartUpSharedModules() {
    ReadJoystickCaps();
    // The engine's angle and fixed-point values are constants; nothing to build.
    ClearWorldTables();
}

std::optional<std::vector<std::string>> ListLevelFiles() {
    const auto entries = ListFolder("LEVEL\\");
    if (!entries) return std::nullopt;
    std::vector<std::string> names;
    for (const std::string& name : *entries) {
        if (name == "." || name == ".." || name.size() < 2) continue;
        names.push_back(name);
    }
    // std::string compares bytes as unsigned values, so case matters ("A1" < "a1").
    // Sorting before the cut keeps the list the same whatever order the folder
    // is listed in.
    std::sort(names.begin(), names.end());
    if (names.size() > static_cast<std::size_t>(kMaxLevels)) names.resize(kMaxLevels);
    for (std::string& name : names) name = "LEVEL\\" + name;
    return names;
}

bool BuildLevelList() {
    const auto files = ListLevelFiles();
    if (!files) {
        ShowMessageBox("GAME: Problem reading level files (LEVEL\\ folder).");
        return false;
    }
    if (files->empty()) {
        ShowMessageBox("GAME: No level files (LEVEL\\ folder).");
        return false;
    }
    shellState.LevelFiles = *files;
    shellState.LevelCount = static_cast<std::int32_t>(files->size());
    return true;
}

bool InitialiseGame() {
    ShellState& s = shellState;
    SeedRandomFromClock();
    ForgetDefinitions();
    s.VideoPlaying = false;
    s.MusicOn = true;
    std::error_code ec;
    s.ProgramFolder = std::filesystem::current_path(ec).string();
    StartSoundOutput();
    StartGameMusicLibrary();
    LoadInterfaceSounds();
    InstallPlayServices();
    if (!ReadSettings()) return false;
    BuildCubeFaceMeshes();
    if (!BuildLevelList()) return false;
    if (!CurrentAutomation().levelFile.empty()) {
        s.LevelFiles = {CurrentAutomation().levelFile};
        s.LevelCount = 1;
    }
    if (!ReadEndText()) return false;
    s.ShowFps = false;
    for (PlayerRecord& player : players) player.cameraDistance = 0;
    return true;
}

void EnterFirstScreen() {
    if (!CurrentAutomation().replayFile.empty()) {
        StartReplayPlayback(CurrentAutomation().replayFile);
        return;
    }
    const std::optional<std::int32_t> asked =
        CurrentAutomation().levelFile.empty() ? CurrentAutomation().levelIndex : 0;
    const std::string& levelFile = CurrentAutomation().levelFile;
    if (!levelFile.empty() && !FileExists(levelFile)) {
        std::fprintf(stderr, "--level: the level file '%s' does not exist\n", levelFile.c_str());
        RequestProgramEnd(kBadCommandLineExitCode);
        return;
    }
    if (asked) {
        if (*asked >= shellState.LevelCount) {
            std::fprintf(stderr, "--level %d: the level list has %d levels (0 to %d)\n", *asked,
                         shellState.LevelCount, shellState.LevelCount - 1);
            RequestProgramEnd(kBadCommandLineExitCode);
            return;
        }
        StartNewGame(*asked);
    } else if (lastPlayer == 0) {
        ChangeScreen(kScreenTitle);
    } else {
        StartLevel(0);
    }
}

void ShutdownGame() {
    FinishLevelRecording();
    KeepStateBeforeShutdown();
    WriteSettings();
    PlayClickSound();
    StopMusic();
    if (shellState.VideoPlaying) CloseClip();
    ShutdownMusicLibrary();
    CloseCommSession(); // the others see this player leave at once
    RequestProgramEnd(0);
}
