#include "level_walk.h"

#include <deque>
#include <map>
#include <vector>

namespace {

constexpr int kSpringRows = 6; // a spring throws the hero about seven cells up

struct Walker {
    const LevelData& level;
    const WalkTypes& types;
    bool doorsOpen;
    std::set<int> open;
    std::set<WalkCell> pushedAway;

    bool inside(int x, int y, int z) const {
        return x >= 0 && y >= 0 && z >= 0 && x < level.sizeX && y < level.sizeY && z < level.sizeZ;
    }
    int cell(int x, int y, int z) const {
        if (!inside(x, y, z) || pushedAway.count({x, y, z})) return 0;
        return level.cells[x + level.sizeX * (y + level.sizeY * z)];
    }
    const WalkType& type(int x, int y, int z) const { return types[cell(x, y, z)]; }
    bool opened(int t) const { return types[t].door && open.count(t); }
    bool solid(int x, int y, int z) const {
        const int t = cell(x, y, z);
        return types[t].defined && types[t].collision && !opened(t);
    }
    bool deadly(int x, int y, int z) const {
        const WalkType& t = type(x, y, z);
        return t.defined && t.death;
    }
    bool passable(int x, int y, int z) const {
        return inside(x, y, z) && !solid(x, y, z) && !deadly(x, y, z);
    }
    bool standable(int x, int y, int z) const {
        return passable(x, y, z) && (y == 0 || solid(x, y - 1, z));
    }
    // Where a hero entering the passable cell (x, y, z) comes to rest, if he
    // lives: nothing at all when he drops into something deadly.
    bool fall(int x, int& y, int z) const {
        while (!standable(x, y, z)) {
            --y;
            if (y < 0 || !passable(x, y, z)) return false;
        }
        return true;
    }

    WalkResult run();
};

const int kDirections[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

WalkResult Walker::run() {
    std::map<int, int> ingotCells, keyBlocks, sensorCells;
    for (int z = 0; z < level.sizeZ; ++z)
        for (int y = 0; y < level.sizeY; ++y)
            for (int x = 0; x < level.sizeX; ++x) {
                const int t = cell(x, y, z);
                if (!types[t].defined) continue;
                if (types[t].lingot) ++ingotCells[t];
                if (types[t].blockKey) ++keyBlocks[types[t].blockKeySensor];
                if (types[t].blockSensorDoor) ++sensorCells[t];
            }

    WalkResult result;
    for (;;) {
        std::set<WalkCell> seen;
        std::deque<WalkCell> queue;
        std::set<int> toOpen;
        std::set<WalkCell> toPush;
        std::map<int, int> ingotsTaken;
        std::set<int> keyBlocksTouched;
        auto visit = [&](int x, int y, int z) {
            if (seen.insert({x, y, z}).second) queue.push_back({x, y, z});
        };
        const LevelState& s = level.state;
        int startY = s.startY;
        if (passable(s.startX, startY, s.startZ) && fall(s.startX, startY, s.startZ))
            visit(s.startX, startY, s.startZ);

        while (!queue.empty()) {
            const auto [x, y, z] = queue.front();
            queue.pop_front();
            const WalkType& here = type(x, y, z);
            if (here.defined && here.lingot) ++ingotsTaken[cell(x, y, z)];

            for (const auto& d : kDirections) {
                const int nx = x + d[0], nz = z + d[1];
                int ny = y;
                if (passable(nx, y, nz) && fall(nx, ny, nz)) visit(nx, ny, nz);
                // A jump (or a ramp) onto a one-cell step, with head room.
                if (solid(nx, y, nz) && passable(x, y + 1, z) && standable(nx, y + 1, nz))
                    visit(nx, y + 1, nz);
                // Digging the floor cell ahead and dropping through the hole;
                // in a shallow hole he stands inside and jumps out.
                const int hy = y - 1;
                if (inside(nx, y, nz) && cell(nx, y, nz) == 0 && hy >= 0 &&
                    type(nx, hy, nz).defined && type(nx, hy, nz).dig) {
                    int fy = hy - 1;
                    if (hy == 0 || solid(nx, fy, nz))
                        visit(nx, hy, nz);
                    else if (passable(nx, fy, nz) && fall(nx, fy, nz))
                        visit(nx, fy, nz);
                }
                const WalkType& ahead = type(nx, y, nz);
                if (ahead.defined && ahead.lever && !open.count(ahead.leverDoor))
                    toOpen.insert(ahead.leverDoor);
                if (ahead.defined && ahead.blockKey) keyBlocksTouched.insert(ahead.blockKeySensor);
                // A block with room behind it (and nothing pushable on top)
                // moves on; the cell it leaves is free.
                if (ahead.defined && ahead.canPush && !type(nx, y + 1, nz).canPush &&
                    inside(nx + d[0], y, nz + d[1]) && cell(nx + d[0], y, nz + d[1]) == 0)
                    toPush.insert({nx, y, nz});
            }
            if (here.defined && here.ladder) {
                int top = y;
                while (type(x, top + 1, z).defined && type(x, top + 1, z).ladder) ++top;
                const int ey = top + 1;
                if (passable(x, ey, z)) {
                    const bool exits[4] = {here.climbPlusX, here.climbMinusX, here.climbPlusZ,
                                           here.climbMinusZ};
                    for (int i = 0; i < 4; ++i) {
                        const int ex = x + kDirections[i][0], ez = z + kDirections[i][1];
                        if (exits[i] && standable(ex, ey, ez)) visit(ex, ey, ez);
                    }
                }
            }
            if (here.defined && here.spring) {
                for (int h = 1; h <= kSpringRows && passable(x, y + h, z); ++h)
                    for (const auto& d : kDirections)
                        if (standable(x + d[0], y + h, z + d[1])) visit(x + d[0], y + h, z + d[1]);
            }
        }

        for (const auto& [type, count] : ingotCells)
            if (ingotsTaken[type] >= count && types[type].lingotDoor &&
                !open.count(types[type].lingotDoor))
                toOpen.insert(types[type].lingotDoor);
        for (const auto& [sensor, count] : sensorCells)
            if (keyBlocks[sensor] >= count && keyBlocksTouched.count(sensor) &&
                !open.count(types[sensor].blockSensorDoor))
                toOpen.insert(types[sensor].blockSensorDoor);

        result.reached = seen;
        if (!doorsOpen) toOpen.clear();
        if (toOpen.empty() && toPush.empty()) break;
        open.insert(toOpen.begin(), toOpen.end());
        pushedAway.insert(toPush.begin(), toPush.end());
    }
    result.openedDoors = open;
    return result;
}

} // namespace

WalkTypes ReadWalkTypes(const ProfileData& definitions) {
    WalkTypes types;
    for (int i = 1; i < 256; ++i) {
        const std::string section = "Object " + std::to_string(i);
        if (ProfileString(definitions, section, "Cube", "").empty()) continue;
        WalkType& t = types[i];
        auto flag = [&](const char* key, const char* fallback = "FALSE") {
            return ProfileFlag(definitions, section, key, fallback);
        };
        auto number = [&](const char* key, int fallback = 0) {
            return ProfileInt(definitions, section, key, fallback);
        };
        t.defined = true;
        t.collision = flag("Collision", "TRUE");
        t.death = flag("Death");
        t.ladder = flag("Ladder");
        t.spring = flag("Spring");
        t.dig = flag("Dig");
        t.lever = flag("Lever");
        t.leverDoor = t.lever ? number("LeverDoor") : 0;
        t.door = flag("Door");
        t.lingot = flag("Lingot");
        t.lingotDoor = t.lingot ? number("LingotDoor") : 0;
        t.blockKey = flag("BlockKey");
        t.canPush = flag("CanPush");
        t.blockKeySensor = number("BlockKeySensor");
        t.blockSensorDoor = number("BlockSensorDoor");
        if (t.ladder) {
            // Box keys are centred; a hero (260 wide) takes hold standing in
            // the ladder's cell in front of the box.
            const int xmin = number("Xmin", 999) + 256, xmax = number("Xmax", 999) + 256;
            const int zmin = number("Zmin", 999) + 256, zmax = number("Zmax", 999) + 256;
            const bool wideInX = (xmax - xmin) > (zmax - zmin);
            t.climbPlusZ = wideInX && zmin - 130 >= 0;
            t.climbMinusZ = wideInX && zmax + 130 <= 511;
            t.climbPlusX = !wideInX && xmin - 130 >= 0;
            t.climbMinusX = !wideInX && xmax + 130 <= 511;
        }
    }
    return types;
}

WalkResult WalkLevel(const LevelData& level, const WalkTypes& types, bool doorsOpen) {
    return Walker{level, types, doorsOpen, {}, {}}.run();
}
