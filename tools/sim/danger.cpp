#include "danger.h"

#include <algorithm>
#include <cmath>

#include "world/world.h"

namespace {

constexpr std::int32_t kChaseState = 0; // SentryRecord::state while chasing

} // namespace

void MeasureDanger(DangerMeasures& measures) {
    if (world.frame == measures.lastFrame) return;
    measures.lastFrame = world.frame;
    const PlayerRecord& hero = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    bool chased = false;
    for (int i = 1; i <= std::min(sentryCount, kSentrySlots - 1); ++i) {
        const SentryRecord& e = sentries[i];
        chased = chased || e.state == kChaseState;
        const double distance =
            std::hypot(double{e.x} - hero.x, double{e.y} - hero.y, double{e.z} - hero.z);
        if (measures.closestSentry < 0 || distance < measures.closestSentry)
            measures.closestSentry = distance;
    }
    if (chased) ++measures.chaseFrames;
}

std::string DescribeDanger(const DangerMeasures& measures) {
    const double closest = measures.closestSentry < 0 ? -1 : std::floor(measures.closestSentry);
    return "sentries.chaseFrames=" + std::to_string(measures.chaseFrames) +
           "\nhero.closestSentry=" + std::to_string(static_cast<std::int64_t>(closest)) + "\n";
}
