#include "world/camera_sight.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "world/world.h"

namespace {

constexpr float kHeadHeight = 170.0f; // the head's middle over the body's centre
constexpr float kNearPlane = 16.0f;   // the picture clips nearer than 10 units
constexpr float kStep = 16.0f;        // spacing of the points looked at along a line
constexpr int kRefinements = 5;       // halvings of the last step: 0.5-unit answers
constexpr float kHeadRoom = 200.0f;   // room over a head above an indoor level's top

// A box in one cell's own coordinates (0..511 on each axis).
struct LocalBox {
    double lo[3], hi[3];
};

int cellIndexOf(double v) {
    return static_cast<int>(std::clamp(std::floor(v / worldUnit), -2.0e9, 2.0e9));
}

double highestTop(const ObjectType& t, const LocalBox& box) {
    double top = -1e9;
    for (double lx : {box.lo[0], box.hi[0]})
        for (double lz : {box.lo[2], box.hi[2]}) {
            const int x = static_cast<int>(
                std::clamp(lx, static_cast<double>(t.Xmin), static_cast<double>(t.Xmax)));
            const int z = static_cast<int>(
                std::clamp(lz, static_cast<double>(t.Zmin), static_cast<double>(t.Zmax)));
            top = std::max(top, static_cast<double>(topHeight(t, x, z)));
        }
    return top;
}

// Whether the part `box` of cell (x, y, z) holds something the eye (or, with
// seeThrough, the sight) cannot be in or pass.
bool cellBlocks(const World& world, int x, int y, int z, const LocalBox& box, bool seeThrough) {
    const WorldGrid& grid = world.grid;
    if (x < 0 || z < 0 || y < 0 || x >= grid.sizeX || z >= grid.sizeZ) return true;
    if (y >= grid.sizeY) return false; // the room's ceiling limits it
    const ObjectType& t = world.types[cellAt(grid, x, y, z)];
    if (t.undefined) return false;
    if (t.Cube) return !(seeThrough && t.Transparency > 0);
    if (!t.Collision) return false;
    if (box.hi[0] < t.Xmin || box.lo[0] > t.Xmax) return false;
    if (box.hi[2] < t.Zmin || box.lo[2] > t.Zmax) return false;
    return box.hi[1] >= t.Ymin && box.lo[1] <= highestTop(t, box);
}

bool blockedAround(const CameraRoom& room, SightPoint at, float radius, bool seeThrough) {
    const double p[3] = {at.x, at.y, at.z};
    if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) return true;
    const double r = std::max(0.0f, radius);
    if (p[1] + r > room.ceiling) return true;
    const World& world = *room.world;
    int first[3], last[3];
    for (int axis = 0; axis < 3; ++axis) {
        first[axis] = cellIndexOf(p[axis] - r);
        last[axis] = cellIndexOf(p[axis] + r);
    }
    for (int x = first[0]; x <= last[0]; ++x)
        for (int y = first[1]; y <= last[1]; ++y)
            for (int z = first[2]; z <= last[2]; ++z) {
                const int cell[3] = {x, y, z};
                LocalBox box{};
                for (int axis = 0; axis < 3; ++axis) {
                    const double base = static_cast<double>(cell[axis]) * worldUnit;
                    box.lo[axis] = std::max(p[axis] - r - base, 0.0);
                    box.hi[axis] = std::min(p[axis] + r - base, double{worldUnit - 1});
                }
                if (cellBlocks(world, x, y, z, box, seeThrough)) return true;
            }
    return false;
}

SightPoint along(SightPoint from, SightPoint to, float t) {
    return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t,
            from.z + (to.z - from.z) * t};
}

float distanceBetween(SightPoint a, SightPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

} // namespace

CameraRoom RoomAround(const World& world, const PlayerRecord& player) {
    CameraRoom room{&world, std::numeric_limits<float>::max()};
    if (!world.level.outside)
        room.ceiling = std::max(static_cast<float>(world.grid.sizeY) * worldUnit,
                                HeadOf(player).y + kHeadRoom);
    return room;
}

bool EyeBlocked(const CameraRoom& room, SightPoint at, float radius) {
    return blockedAround(room, at, radius, false);
}

bool SightBlocked(const CameraRoom& room, SightPoint at) {
    return blockedAround(room, at, 0.0f, true);
}

float ClearReach(const CameraRoom& room, SightPoint from, SightPoint to, Clearance clearance) {
    const float length = distanceBetween(from, to);
    const auto blockedAt = [&](float d) {
        const float radius =
            std::min(clearance.farRadius, clearance.nearRadius + clearance.growth * d);
        return EyeBlocked(room, along(from, to, length > 0 ? d / length : 0.0f), radius);
    };
    if (blockedAt(0)) return 0;
    if (!(length > 0)) return 0;
    float clear = 0;
    for (float d = kStep;; d += kStep) {
        const float next = std::min(d, length);
        if (blockedAt(next)) {
            // The obstruction lies between `clear` and `next`: narrow it down.
            float blocked = next;
            for (int i = 0; i < kRefinements; ++i) {
                const float middle = 0.5f * (clear + blocked);
                (blockedAt(middle) ? blocked : clear) = middle;
            }
            return clear;
        }
        clear = next;
        if (next >= length) return length;
    }
}

bool LineOfSight(const CameraRoom& room, SightPoint from, SightPoint to) {
    const float length = distanceBetween(from, to);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / (kStep * 0.5f))));
    for (int i = 0; i <= steps; ++i)
        if (SightBlocked(room, along(from, to, static_cast<float>(i) / static_cast<float>(steps))))
            return false;
    return true;
}

SightPoint HeadOf(const PlayerRecord& player) {
    return {player.x, player.y + kHeadHeight, player.z};
}

CameraSight CheckCameraSight(const World& world, const PlayerRecord& player) {
    const CameraRoom room = RoomAround(world, player);
    const SightPoint eye{player.cameraX, player.cameraY, player.cameraZ};
    if (EyeBlocked(room, eye, kNearPlane)) return CameraSight::InWall;
    return LineOfSight(room, eye, HeadOf(player)) ? CameraSight::Clear : CameraSight::Hidden;
}

const char* CameraSightName(CameraSight sight) {
    switch (sight) {
    case CameraSight::InWall:
        return "inWall";
    case CameraSight::Hidden:
        return "hidden";
    default:
        return "clear";
    }
}
