// Level start of the sentries, shared by the game and the editor.
#pragma once

// Seeds the run-time random generator with the level's seed and gives sentries
// 1..sentryCount their starting run-time state from their stored position and
// heading: standard size and speed, aiming where they stand, cell of their
// position, chasing state, and no sound during the first seconds.
void InitSentries();
