// The camera of a player, placed once per frame after the world has moved.
#pragma once

struct PlayerRecord;

// Places the camera of `player`: first person at the eyes when his camera
// distance is 0, else the follow camera moving behind him. The follow
// camera's eye is never inside a wall, nor behind one from his head: a wall
// in the way draws the eye in before it, and with no room left behind him
// the view fades into his own. Lava and water never close over the eye.
void PlaceCamera(PlayerRecord& player);

// Whether the eye is within the player's own figure (drawn, it would fill
// the picture from inside): it is then left out of the picture.
bool EyeInsideFigure(const PlayerRecord& player);
