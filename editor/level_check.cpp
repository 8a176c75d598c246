#include "editor/level_check.h"

#include <array>
#include <cstdint>

#include "media/music_list.h"
#include "world/world.h"

namespace {

std::string cellText(int x, int y, int z) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z) + ")";
}

bool solid(std::uint8_t type) {
    const ObjectType& t = objectTypes[type];
    return type != 0 && !t.undefined && t.Collision;
}

bool empty(std::uint8_t type) {
    return type == 0 || objectTypes[type].undefined;
}

void checkStart(std::vector<std::string>& out) {
    const LevelState& s = levelState;
    if (!InsideGrid(s.startX, s.startY, s.startZ)) {
        out.push_back("The start point lies outside the level.");
        return;
    }
    if (solid(cellAt(s.startX, s.startY, s.startZ)))
        out.push_back("The start point is inside a solid cell.");
    bool ground = !empty(cellAt(s.startX, s.startY, s.startZ));
    for (int y = s.startY - 1; y >= 0 && !ground; --y)
        ground = !empty(cellAt(s.startX, y, s.startZ));
    if (!ground) out.push_back("The start point is over nothing.");
    if (s.startX == s.exitX && s.startY == s.exitY && s.startZ == s.exitZ)
        out.push_back("The start point and the exit are the same cell.");
}

void checkIngotDoors(std::vector<std::string>& out) {
    std::array<std::int64_t, kObjectTypeCount> counts{};
    for (const std::uint8_t cell : worldGrid.cells) ++counts[cell];
    for (int door = 1; door < kObjectTypeCount; ++door) {
        if (counts[door] == 0) continue;
        bool opened = false, hasIngots = false;
        for (const ObjectType& t : objectTypes) {
            if (t.undefined || !t.Lingot || t.LingotDoor != door) continue;
            opened = true;
            const auto index = static_cast<std::size_t>(&t - objectTypes.data());
            hasIngots = hasIngots || counts[index] > 0;
        }
        if (opened && !hasIngots)
            out.push_back("The ingot door " + objectTypes[door].Name +
                          " has no ingots in the level to open it.");
    }
}

} // namespace

std::vector<std::string> CheckLevel() {
    std::vector<std::string> out;
    const LevelState& s = levelState;
    if (!InsideGrid(s.exitX, s.exitY, s.exitZ))
        out.push_back("The exit is not placed inside the level.");
    checkStart(out);
    for (int i = 1; i <= sentryCount && i < kSentrySlots; ++i) {
        const SentryRecord& e = sentries[i];
        if (e.x == 0 && e.y == 0 && e.z == 0)
            out.push_back("Sentry NME #" + std::to_string(i) + " has never been placed.");
        else if (!InsideGrid(CellOf(e.x), CellOf(e.y), CellOf(e.z)))
            out.push_back("Sentry NME #" + std::to_string(i) + " lies outside the level.");
    }
    for (const MusicZone& zone : s.musicZones) {
        if (zone.x == kUnusedMusicZone) continue;
        if (zone.music < 0 || zone.music >= kMusicListSize || musicList[zone.music].file.empty())
            out.push_back("The music zone at " + cellText(zone.x, zone.y, zone.z) +
                          " names an empty music entry.");
    }
    checkIngotDoors(out);
    return out;
}
