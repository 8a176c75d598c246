// The in-game options menu's state. Player control opens, moves and closes
// it; the scene draws it while it is open.
#pragma once

#include <array>
#include <cstdint>

struct PlayerRecord;

struct InGameMenu {
    std::uint8_t open = 0;
    std::int32_t selected = 0;  // option 0..kMenuOptionCount - 1
    std::int32_t inputSkip = 0; // frames left before input is read again
    // The control flags as the menu last read them, so that a press that
    // comes during a skipped frame is not lost.
    std::array<std::uint8_t, 8> controlsAtLastRead{};
};

// Camera distances of the views: first person, then three steps farther.
constexpr float kCameraDistanceStep = 512.0f;
constexpr float kFarthestCameraDistance = 1536.0f;

// Options of the menu, top to bottom.
enum MenuOption {
    kMenuRestart,
    kMenuLoad,
    kMenuSave,
    kMenuCameraView,
    kMenuControls, // the controls and sound page, over the paused play
    kMenuQuit,
    kMenuContinue,
    kMenuOptionCount
};

// Opens the menu on its first option with the menu-select sound; the keys
// held now count as already read.
void OpenInGameMenu(const PlayerRecord& player);
// One frame of the open menu: input skip, selection, moves and closing.
void RunInGameMenu(PlayerRecord& player);
// Closes the menu with no input skip left (entering the play screen).
void CloseInGameMenu();
