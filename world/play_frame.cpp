#include "world/play_frame.h"

#include <algorithm>
#include <string>

#include "world/animation.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/local_view.h"
#include "world/player_control.h"
#include "world/player_death.h"
#include "world/player_motion.h"
#include "world/sentries.h"
#include "world/world.h"

namespace {

// A dead player whose busy time is over loses a life; with lives left the
// level starts again.
void handleDeath(PlayerRecord& p) {
    p.lives -= 1;
    if (p.lives < 0) return;
    p.cameraDistance = p.savedCameraDistance;
    RequestLevelRestart();
    ShowGameMessage(std::to_string(p.lives) + " LIVES LEFT");
}

void runLevelTimer() {
    if (!timerRunning) return;
    timeLeftMs -= frameMs;
    if (timeLeftMs >= 0) return;
    timeLeftMs = 0;
    timerRunning = 0;
    killPlayer();
}

} // namespace

void RunPlayFrame(bool host, bool videoPlaying, const std::function<bool()>& levelEnds) {
    ++world.frame;
    PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    if (host) updateSentryAwareness();
    p.light += RelaxStep(p.light, p.lightTarget, 0.1f);
    if (levelEnds && levelEnds()) return;

    if (p.busyMs > 0) {
        p.busyMs = std::max(p.busyMs - frameMs, 0);
    } else {
        playerControl();
        if (p.dead) {
            handleDeath(p);
            if (p.lives < 0) return; // the game is over: nothing else moves
        }
    }
    if (videoPlaying) return;

    updateObjectAnimation();
    if (!world.menu.open) {
        updateSentries();
        runLevelTimer();
        MovePlayers();
    }
    UpdateLocalView();
}
