// The end of the world's frame for the local player, after every body has
// moved and before the picture is drawn.
#pragma once

// Recomputes the local player's action cell, places his camera, starts the
// music of the zone he stands in, blends every player's pose, runs the
// sentries' touch test and updates the sound listener. Drawing then only
// reads what this leaves.
void UpdateLocalView();
