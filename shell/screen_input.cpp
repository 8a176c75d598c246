#include "shell/screen_input.h"

#include <algorithm>

#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/sounds.h"
#include "world/world.h"

namespace {
constexpr int kFirstButtonControl = kJump; // button 1; buttons 2..4 follow it
} // namespace

bool AnyButtonSet(int first, int last) {
    const PlayerRecord& player = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    for (int button = std::max(first, 1); button <= std::min(last, 4); ++button)
        if (player.controls[kFirstButtonControl + button - 1]) return true;
    return false;
}

void CloseScreenWithChoice() {
    const ShellState& s = shellState;
    if (s.TransitionCompleted) return;
    if (!s.TransitionActive) PlayChoiceSound();
    StartTransition(+1);
}
