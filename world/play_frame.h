// The world half of a play frame, shared by the game and the tools that run
// levels without a window: sentry awareness, light, the local player's busy
// time, control and death, object animation, and with the menu closed the
// sentries, the level timer and the players' motion; then the view update.
#pragma once

#include <functional>

// `host` runs the sentries' awareness (player 0's machine); `videoPlaying`
// stops the frame after the player's control, as a clip does. `levelEnds`,
// asked after the light step, stops the frame when it answers true (the play
// screen ends the level there once its closing transition is complete).
// Returns true when the frame ran to its end (the scene is then drawn);
// false when it stopped early: level ended, game over, or a clip playing.
bool RunPlayFrame(bool host = true, bool videoPlaying = false,
                  const std::function<bool()>& levelEnds = {});
