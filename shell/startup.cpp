#include "shell/startup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "draw/cube_faces.h"
#include "engine/render_context.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/text_case.h"
#include "shell/automation_run.h"
#include "shell/form_services.h"
#include "shell/hooks.h"
#include "shell/net_session.h"
#include "shell/play_screen.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/state_dump.h"
#include "world/random_clock.h"
#include "world/world.h"

bool IsNetworkStart(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return false;
    return EqualNoCase(arguments.front(), "/NETWORK");
}

void StartUpSharedModules() {
    hooks::StartDisplayLayer();
    hooks::ReadJoystickCaps();
    hooks::ClearSoundAndMusicFlags();
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
    hooks::ForgetLoadedDefinitions();
    s.VideoPlaying = false;
    s.MusicOn = true;
    std::error_code ec;
    s.ProgramFolder = std::filesystem::current_path(ec).string();
    hooks::CreateSoundOutput();
    renderContext.hearingRange = kSoundHearingRange;
    hooks::StartMusicLibrary();
    hooks::LoadInterfaceSounds();
    InstallPlayServices();
    if (!hooks::ReadSettings()) return false;
    BuildCubeFaceMeshes();
    if (!BuildLevelList()) return false;
    if (!CurrentAutomation().levelFile.empty()) {
        s.LevelFiles = {CurrentAutomation().levelFile};
        s.LevelCount = 1;
    }
    if (!hooks::ReadEndScreenText()) return false;
    s.ShowFps = false;
    for (PlayerRecord& player : players) player.cameraDistance = 0;
    return true;
}

void EnterFirstScreen() {
    const std::optional<std::int32_t> asked =
        CurrentAutomation().levelFile.empty() ? CurrentAutomation().levelIndex : 0;
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
        hooks::StartLevel(0);
    }
}

void ShutdownGame() {
    KeepStateBeforeShutdown();
    hooks::WriteSettings();
    hooks::PlayClickSound();
    hooks::StopMusic();
    if (shellState.VideoPlaying) hooks::CloseVideoClip();
    hooks::ShutdownMusicLibrary();
    CloseCommSession(); // the others see this player leave at once
    RequestProgramEnd(0);
}
