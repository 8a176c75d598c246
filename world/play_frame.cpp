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
// level starts again. With none left the game is already lost: no life is
// taken, and the closing transition starts as soon as no other one runs (a
// death during the opening transition could not start it). Returns false
// when the game is over.
bool handleDeath(PlayerRecord& p) {
    if (p.lives <= 0) {
        if (!TransitionRunning()) EndLevel(kLevelLost);
        return false;
    }
    p.lives -= 1;
    p.cameraDistance = p.savedCameraDistance;
    RequestLevelRestart();
    ShowGameMessage(std::to_string(p.lives) + " LIVES LEFT");
    return true;
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

bool RunPlayFrame(bool host, bool videoPlaying, const std::function<bool()>& levelEnds) {
    ++world.frame;
    PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    if (host) updateSentryAwareness();
    p.light += RelaxStep(p.light, p.lightTarget, 0.1f);
    if (levelEnds && levelEnds()) return false;

    if (p.busyMs > 0) {
        p.busyMs = std::max(p.busyMs - frameMs, 0);
    } else if (p.dead && world.wonFrame >= 0) {
        // Killed on the exit with a life left: the level is won, and the
        // hero stays down while it closes.
    } else {
        playerControl();
        if (p.dead && !handleDeath(p)) return false; // the game is over: nothing else moves
    }
    if (videoPlaying) return false;

    updateObjectAnimation();
    if (!world.menu.open) {
        updateSentries();
        runLevelTimer();
        MovePlayers();
    }
    UpdateLocalView();
    return true;
}
