// STAND-IN until player control is built.
#include "world/player_control.h"

void playerControl() {}
void TakeLadder(PlayerRecord&) {}
