#include "shell/play_screen.h"

#include <algorithm>

#include "draw/scene.h"
#include "formats/definitions.h"
#include "formats/level_file.h"
#include "media/sound_output.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/controls_screen.h"
#include "shell/end_moment.h"
#include "shell/form_services.h"
#include "shell/net_game.h"
#include "shell/play_hud.h"
#include "shell/practice_game.h"
#include "shell/replay_run.h"
#include "shell/screen_flow.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/level_start.h"
#include "world/play_frame.h"
#include "world/title_overlay.h"
#include "world/world.h"

namespace {

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

// The level file named on the command line starts on --start-cell and
// --start-heading when they are given (the editor's test-play from the
// selector), at every start of it; a cell outside the grid is ignored.
void placeCommandLineStart(const std::string& file) {
    const GameOptions& options = CurrentAutomation();
    if (!options.startCell || file != options.levelFile) return;
    const auto [x, y, z] = *options.startCell;
    if (!InsideGrid(x, y, z)) return;
    levelState.startX = x;
    levelState.startY = y;
    levelState.startZ = z;
    levelState.startHeading = options.startHeading.value_or(levelState.startHeading);
    ResetPlayersForLevel(x, y, z, levelState.startHeading);
}

// When the closing transition has covered the picture, the level is over:
// the title screen after a loss, else the next level or the end screen.
bool endLevelWhenCovered() {
    ShellState& s = shellState;
    if (!s.TransitionCompleted) return false;
    LeaveEndMoment();
    if (s.LevelOutcome == kOutcomeLost) {
        StartTransition(-1);
        ChangeScreen(kScreenTitle);
    } else if (s.LevelOutcome == kOutcomeCompleted) {
        PlayerRecord& p = localRecord();
        p.levelIndex += 1;
        if (p.levelIndex < s.LevelCount) {
            StartLevel(p.levelIndex);
        } else {
            StartTransition(-1);
            ChangeScreen(kScreenEnd);
        }
    }
    return true;
}

} // namespace

void StartLevel(std::int32_t levelIndex) {
    ShellState& s = shellState;
    if (levelIndex < 0 || levelIndex >= static_cast<std::int32_t>(s.LevelFiles.size())) return;
    // The level played before is over (its outcome still stands).
    FinishLevelRecording();
    const std::string& file = s.LevelFiles[levelIndex];
    const LevelLoad load = LoadLevel(file, s.TextureDetail);
    if (load.result == kLevelRefused) {
        // Nothing of the refused file was taken: back to the title rather
        // than playing on whatever grid the world still holds.
        ShowMessageBox(load.error);
        StartTransition(-1);
        ChangeScreen(kScreenTitle);
        return;
    }
    if (load.result == kLevelDefinitionsFailed) {
        ShowMessageBox(load.error);
        // A pack's own definitions failing leaves the game's in place again
        // and the player on the title; the game's own failing ends it.
        if (load.ownDefinitions && LoadDefinitions(kDefinitionFile, s.TextureDetail)) {
            StartTransition(-1);
            ChangeScreen(kScreenTitle);
            return;
        }
        RequestProgramEnd(0);
        return;
    }
    placeCommandLineStart(file);
    s.LevelOutcome = kOutcomeNone;
    s.LevelStarts += 1;
    s.LevelStartFrame = FramesRun();
    s.LevelFile = file;
    LeaveEndMoment();
    levelPlayMs = 0;
    ResetTimerCountdown();
    StartTransition(-1);
    ChangeScreen(kScreenPlay);
    StopVoices();
    s.LevelStartVoices = VoicesStarted();
    StartTitleOverlay();
    BeginLevelRecording();
}

void StartNewGame(std::int32_t levelIndex) {
    PlayerRecord& p = localRecord();
    p.levelIndex = levelIndex;
    p.lives = kNewGameLives;
    StartLevel(levelIndex);
}

bool PlayScreenUpdate() {
    // The controls page opened from the in-game menu takes the input while
    // it is open (and until the keys that closed it are let go); the menu
    // stays open under it, so the world stands paused as it does for the menu.
    if (ControlsScreenUpdate()) localRecord().controls.fill(0);
    SendPlayerState();
    // The level's time runs until its end is decided, not while the menu is open.
    if (!EndMomentUnderWay() && !world.menu.open) levelPlayMs += std::max(frameMs, 0);
    StepEndMoment();
    // Once the level's end is decided the hero takes no more orders: he
    // stays on the exit, and the options menu cannot restart a won level.
    if (EndMomentUnderWay()) localRecord().controls.fill(0);
    if (!RunPlayFrame(DecidesSentries(), shellState.VideoPlaying, endLevelWhenCovered)) {
        // The game is over and the world stands still: its picture stays
        // under the game-over moment.
        return EndMomentUnderWay() && shellState.ScreenState == kScreenPlay &&
               !shellState.VideoPlaying;
    }
    // The countdown's ticks end with the level.
    if (!EndMomentUnderWay()) SoundTimerCountdown();
    return true;
}

void DrawPlayScreen() {
    if (controlsScreen.open) {
        DrawControlsScreen();
        return;
    }
    DrawPlayFrame(world);
    DrawPlayHud();
    DrawEndMoment();
}

void InstallPlayServices() {
    gameServices.restartLevel = [] { StartLevel(localRecord().levelIndex); };
    gameServices.loadGame = [] {
        EndPracticeGame(); // the saved game is the campaign's
        const SavedGame saved = LoadSavedGame();
        PlayerRecord& p = localRecord();
        p.levelIndex = saved.level;
        p.lives = saved.lives;
        StartLevel(saved.level);
    };
    // A replay playing back leaves the saved game alone; a practice game
    // must not take the campaign's place in it.
    gameServices.saveGame = [] {
        if (ReplayPlaying()) return true;
        if (practiceGame.active) {
            ShowStatusMessage("PRACTICE GAMES ARE NOT SAVED");
            return false;
        }
        return SaveGame(localRecord().levelIndex, localRecord().lives);
    };
    gameServices.showMessage = [](const std::string& text) { ShowStatusMessage(text); };
    gameServices.endLevel = [](LevelEnd end) {
        // Once a moment has decided the level's end, nothing changes it.
        if (EndMomentUnderWay()) return;
        shellState.LevelOutcome = end;
        const PlayerRecord& p = localRecord();
        if (end == kLevelCompleted) {
            StartEndMoment(kEndMomentLevelComplete);
        } else if (p.dead && p.lives <= 0) {
            StartEndMoment(kEndMomentGameOver);
        } else {
            StartTransition(+1); // quit from the options menu
        }
    };
    gameServices.openControlsPage = [] { OpenControlsScreen(); };
    // The exit does not count once the level's end is under way.
    gameServices.transitionActive = [] {
        return shellState.TransitionActive || EndMomentUnderWay();
    };
}
