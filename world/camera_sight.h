// What a camera may stand in and see through: the level's cells read for the
// follow camera's placement and for the checks of what a frame shows.
#pragma once

struct World;
struct PlayerRecord;

struct SightPoint {
    float x = 0, y = 0, z = 0;
};

// Where a camera may be: the level's cells, and above an indoor level the
// height where the void begins (the level's top, or above the hero's head
// when he is higher). Above an outdoor level the sky is open.
struct CameraRoom {
    const World* world = nullptr;
    float ceiling = 0;
};
CameraRoom RoomAround(const World& world, const PlayerRecord& player);

// Whether an eye within `radius` of the point would look at the inside of
// something: a drawn cube (glass, lava and water too), the solid box of a
// mesh cell (doors, pillars, ramps), or the void beside, below or above the
// level.
bool EyeBlocked(const CameraRoom& room, SightPoint at, float radius);

// Whether the point hides what lies behind it: as EyeBlocked with no
// radius, but a see-through cube (glass) hides nothing.
bool SightBlocked(const CameraRoom& room, SightPoint at);

// How far the way from `from` towards `to` stays clear for an eye whose
// radius grows from `nearRadius` at `from` by `growth` per unit up to
// `farRadius`; the whole length when nothing is in the way, 0 when `from`
// itself is blocked.
struct Clearance {
    float nearRadius = 0, farRadius = 0, growth = 0;
};
float ClearReach(const CameraRoom& room, SightPoint from, SightPoint to, Clearance clearance);

// Whether the straight line between two points crosses nothing that hides.
bool LineOfSight(const CameraRoom& room, SightPoint from, SightPoint to);

// The hero's head: what the follow camera keeps in view.
SightPoint HeadOf(const PlayerRecord& player);

// What the player's camera shows of him: InWall when its eye is inside
// something (within the picture's near plane), Hidden when something that
// hides stands between the eye and his head.
enum class CameraSight { Clear, Hidden, InWall };
CameraSight CheckCameraSight(const World& world, const PlayerRecord& player);
const char* CameraSightName(CameraSight sight);
