// How close a run came to the sentries: frames in which one chased a player
// and the nearest the hero came to one. The route checks read these to tell a
// guarded level from one that only looks guarded.
#pragma once

#include <cstdint>
#include <string>

struct DangerMeasures {
    std::int64_t lastFrame = -1;  // the play frame measured last
    std::int64_t chaseFrames = 0; // play frames in which any sentry chased a player
    double closestSentry = -1;    // world units between centres; -1 while no sentry was met
};

// Adds the play frame that just ran; a frame that ran no play frame (the
// opening transition, a paused menu) adds nothing.
void MeasureDanger(DangerMeasures& measures);

// "sentries.chaseFrames=N" and "hero.closestSentry=D" (whole world units) lines.
std::string DescribeDanger(const DangerMeasures& measures);
