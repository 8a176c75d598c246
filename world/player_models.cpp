#include "world/player_models.h"

#include <algorithm>

#include "engine/mesh.h"
#include "platform/clock.h"
#include "world/frame_clock.h"
#include "world/world.h"

namespace {

const Mesh* poseMesh(const PlayerRecord& player, int pose) {
    if (pose < 0 || pose >= kPoseCount) return nullptr;
    return MeshOrNull(player.poses[pose]);
}

void animate(PlayerRecord& player) {
    if (player.pose != player.lastPose) {
        player.blendStart = Now;
        player.blendFromPose = player.lastPose;
    }
    player.lastPose = player.pose;
    // Not capped at 1: a late frame overshoots the new pose a little.
    float t = 1.0f;
    if (player.poseBlendMs > 0) {
        const std::int32_t elapsed = TickDifference(player.blendStart, Now);
        t = static_cast<float>(static_cast<double>(elapsed) / player.poseBlendMs);
    }
    MorphMesh(poseMesh(player, player.blendFromPose), poseMesh(player, player.pose),
              player.workMesh, t);
    if (t >= 1.0f) {
        player.blendFromPose = player.pose;
        player.blendStart = Now;
    }
}

} // namespace

void AnimatePlayerModels() {
    const int last = std::clamp<int>(lastPlayer, -1, kPlayerCount - 1);
    for (int i = 0; i <= last; ++i) animate(players[i]);
}
