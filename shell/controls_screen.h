// The "CONTROLS AND SOUND" page over the title or, from the in-game menu,
// over the paused play screen: the eight controls with
// their keys and controller inputs, the music and effects volumes, a reset
// to the defaults and the way back. Driven by the controls themselves, so
// the keyboard and the controller both move it: forward and back choose a
// row, left and right change a volume by 10, jump or action picks a row,
// the menu control goes back. Picking a control waits for the next key (or
// controller input) and binds it; the menu control there cancels.
#pragma once

#include <array>
#include <cstdint>

#include "world/world.h"

enum ControlsRow {
    kRowFirstControl = 0, // rows 0..7: the controls in their record order
    kRowMusicVolume = kControlCount,
    kRowEffectsVolume,
    kRowReset,
    kRowBack,
    kControlsRowCount
};

struct ControlsScreenState {
    bool open = false;
    std::int32_t selected = 0;
    bool waiting = false;   // for the key of the selected control
    bool releasing = false; // closed, until every control is let go
    // The controls as last frame read them: a row moves once per press.
    std::array<std::uint8_t, kControlCount> previous{};
    // The keys and controller inputs held when the wait began: only a new
    // press binds.
    std::array<bool, 256> keysHeld{};
    std::array<bool, 8> padHeld{};
};

extern ControlsScreenState controlsScreen;

// Opens the page on its first row; what is held now counts as read.
void OpenControlsScreen();
// One frame of the open page; on leaving it the bindings and volumes are
// written to kelv.ini. False when the page is not open and no control held
// when it closed is still held (the screen under it then takes its input).
bool ControlsScreenUpdate();
void DrawControlsScreen();
