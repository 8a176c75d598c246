// The in-game options menu's state. Player control opens, moves and closes
// it; the scene draws it while it is open.
#pragma once

#include <cstdint>

struct InGameMenu {
    std::uint8_t open = 0;
    std::int32_t selected = 0;  // option 0..5
    std::int32_t inputSkip = 0; // frames left before input is read again
};
