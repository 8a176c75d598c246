// The end of the world's frame for the local player, after every body has
// moved and before the picture is drawn.
#pragma once

// Recomputes the local player's action cell, places his camera, starts the
// music of the zone he stands in, places the sound listener at the camera,
// blends every player's pose, runs the sentries' touch test, starts the
// ambient loops due in the cells around the camera and moves the level
// title. Drawing then only reads what this leaves; the voices follow the
// listener after it (VoicesFollowListener).
void UpdateLocalView();
