// Pose blending of the player figures.
#pragma once

// Blends each player's work mesh (records 0..lastPlayer) from the pose it was
// in towards its current pose over poseBlendMs; run once per drawn frame.
void AnimatePlayerModels();
