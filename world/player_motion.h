// The motion of the players for one frame: the local player's kill and exit
// tests, gravity and leaving a ladder, then the body step of every player.
#pragma once

void MovePlayers();
