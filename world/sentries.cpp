// STAND-IN until the sentries are built.
#include "world/sentries.h"

bool lineOfSight(int, int, int, int, int, int) {
    return false;
}
bool SentrySeesPlayer(const SentryRecord&, int) {
    return false;
}
void updateSentryAwareness() {}
void updateSentries() {}
bool SentryTouchesLocalPlayer() {
    return false;
}
