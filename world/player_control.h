// The local player's commands turned into pick-ups, motion, actions on the
// world, camera changes and the in-game menu, once per frame while he is not
// busy.
#pragma once

struct PlayerRecord;

void playerControl();

// Takes hold of the ladder in the player's cell when he stands right before
// it; nothing otherwise.
void TakeLadder(PlayerRecord& player);
