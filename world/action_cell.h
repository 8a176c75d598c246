// The cell a player's action command works on: the floor cell in front of
// him, or the object standing on it.
#pragma once

struct PlayerRecord;

// Recomputes player.actionCell from the position and heading.
void UpdateActionCell(PlayerRecord& player);
