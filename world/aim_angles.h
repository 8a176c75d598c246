// Direction from one point to another as a heading and a pitch in angle
// units, used by the sentries to face a target and by the follow camera.
#pragma once

struct AimAngles {
    float yaw = 0;   // 0..32768, 0 along +z, 8192 along +x
    float pitch = 0; // 0..32768, positive (below 16384) when the target is higher
};

AimAngles aimAngles(float fromX, float fromY, float fromZ, float toX, float toY, float toZ);
