// STAND-IN until the player motion is built.
#include "world/player_motion.h"

void MovePlayers() {}
