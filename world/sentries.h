// The sentries: what they see, what they decide, how they move, and whether
// they touch the local player.
#pragma once

#include <cstdint>

struct SentryRecord;

bool lineOfSight(int fromX, int fromY, int fromZ, int toX, int toY, int toZ);
// Whether sentry `sentry` sees player `player`.
bool SentrySeesPlayer(const SentryRecord& sentry, int player);

void updateSentryAwareness();
void updateSentries();

// Whether any sentry touches the local player.
bool SentryTouchesLocalPlayer();
