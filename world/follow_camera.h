// The camera of a player, placed once per frame after the world has moved.
#pragma once

struct PlayerRecord;

// Places the camera of `player`: first person at the eyes when his camera
// distance is 0, else the follow camera moving behind him.
void PlaceCamera(PlayerRecord& player);
