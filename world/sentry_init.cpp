#include "world/sentry_init.h"

#include "platform/clock.h"
#include "world/frame_clock.h"
#include "world/level_state.h"
#include "world/random.h"
#include "world/world.h"

void InitSentries() {
    SeedRandom(static_cast<std::uint32_t>(levelState.randomSeed));
    for (int i = 1; i <= sentryCount && i < kSentrySlots; ++i) {
        SentryRecord& s = sentries[i];
        s.halfHeight = 240;
        s.width = 130;
        s.pitch = 0;
        s.speed = 40;
        s.headingTarget = s.heading;
        s.pitchTarget = 0;
        s.targetX = s.x;
        s.targetY = s.y;
        s.targetZ = s.z;
        s.cellX = CellOf(s.x);
        s.cellY = CellOf(s.y);
        s.cellZ = CellOf(s.z);
        s.state = 0;
        s.stuck = 0;
        s.targetPlayer = 0;
        s.soundState = 1;
        // Tick arithmetic wraps like the tick counter itself.
        s.lastSoundTime = TickAfter(Now, 2000);
    }
}
