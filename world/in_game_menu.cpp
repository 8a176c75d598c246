#include "world/in_game_menu.h"

#include <algorithm>

#include "engine/angles.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/world.h"

static_assert(std::tuple_size_v<decltype(InGameMenu::controlsAtLastRead)> == kControlCount);

namespace {

const char* const kCameraViewMessages[] = {"1ST PERSON VIEW", "CAMERA VIEW 1", "CAMERA VIEW 2",
                                           "CAMERA VIEW 3"};

// The next camera distance of the view option: one step farther, back to the
// first-person view after the farthest.
void nextCameraView(PlayerRecord& player) {
    player.cameraDistance += kCameraDistanceStep;
    if (player.cameraDistance > kFarthestCameraDistance) player.cameraDistance = 0;
    const int view = std::clamp(RoundEven(player.cameraDistance / kCameraDistanceStep), 0, 3);
    ShowGameMessage(kCameraViewMessages[view]);
}

void select(InGameMenu& menu, PlayerRecord& player) {
    PlayInterfaceSound(InterfaceSound::MenuSelect);
    switch (menu.selected) {
    case kMenuRestart:
        RequestLevelRestart();
        ShowGameMessage("LEVEL RESTARTED");
        menu.open = 0;
        break;
    case kMenuLoad:
        RequestLoadGame();
        ShowGameMessage("GAME LOADED");
        menu.open = 0;
        break;
    case kMenuSave:
        // A refused save has shown why; it must not claim success.
        if (RequestSaveGame()) ShowGameMessage("GAME SAVED");
        menu.open = 0;
        break;
    case kMenuCameraView:
        nextCameraView(player);
        break;
    case kMenuControls:
        // The menu stays open under the page, so the world stays paused and
        // the menu is back where it was when the page closes.
        OpenControlsPage();
        break;
    case kMenuQuit:
        EndLevel(kLevelLost);
        break;
    default: // continue
        menu.open = 0;
        break;
    }
}

} // namespace

void OpenInGameMenu(const PlayerRecord& player) {
    InGameMenu& menu = world.menu;
    menu.open = 1;
    menu.selected = kMenuRestart;
    menu.inputSkip = 0;
    menu.controlsAtLastRead = player.controls;
    PlayInterfaceSound(InterfaceSound::MenuSelect);
}

void RunInGameMenu(PlayerRecord& player) {
    InGameMenu& menu = world.menu;
    // At high frame rates the menu reads its input every other frame.
    if (menu.inputSkip > 0) {
        --menu.inputSkip;
        return;
    }
    menu.inputSkip = frameMs < 50 ? 1 : 0;

    const auto& now = player.controls;
    const auto before = menu.controlsAtLastRead;
    menu.controlsAtLastRead = now;
    // New when the key was up at the last read or in the frame just before
    // (the one skipped frame in between).
    const auto pressed = [&](Control c) {
        return now[c] && !(before[c] && player.previousControls[c]);
    };

    if (pressed(kJump) || pressed(kLook) || pressed(kAction)) {
        select(menu, player);
        if (!menu.open) return;
    }
    if (pressed(kForward)) {
        menu.selected = menu.selected <= 0 ? kMenuOptionCount - 1 : menu.selected - 1;
        PlayInterfaceSound(InterfaceSound::MenuMove);
    }
    if (pressed(kBack)) {
        menu.selected = menu.selected >= kMenuOptionCount - 1 ? 0 : menu.selected + 1;
        PlayInterfaceSound(InterfaceSound::MenuMove);
    }
    if (pressed(kMenu)) {
        menu.open = 0;
        PlayInterfaceSound(InterfaceSound::MenuSelect);
    }
}

void CloseInGameMenu() {
    world.menu.open = 0;
    world.menu.inputSkip = 0;
}
