// The motion of the players for one frame: the local player's kill and exit
// tests, gravity and leaving a ladder, then the body step of every player.
#pragma once

struct PlayerRecord;

void MovePlayers();

// Whether the player's feet are inside the shape of a deadly type (Death)
// or of a diggable one (a hole that refilled around him).
bool FeetInDeadlyShape(const PlayerRecord& player);

// A velocity's loss over this frame: half of it per 90 ms, never past 0.
void Damp(float& velocity);

// Forgets that the level's exit was reached; a level start calls it so the
// exit of the new level ends it again.
void ResetLevelExit();
