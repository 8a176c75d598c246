#include "editor/level_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

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

void warn(std::vector<LevelWarning>& out, std::string text) {
    out.push_back({std::move(text), false, {}});
}

void warnAt(std::vector<LevelWarning>& out, std::string text, int x, int y, int z) {
    const bool inside = InsideGrid(x, y, z);
    out.push_back({std::move(text), inside, inside ? CellPosition{x, y, z} : CellPosition{}});
}

// The first cell holding `type`, in the grid's memory order.
CellPosition firstCellOf(std::uint8_t type) {
    const WorldGrid& g = worldGrid;
    const auto at = std::find(g.cells.begin(), g.cells.end(), type);
    const auto index = static_cast<std::int64_t>(at - g.cells.begin());
    const std::int64_t sx = std::max(g.sizeX, 1), sy = std::max(g.sizeY, 1);
    return {static_cast<int>(index % sx), static_cast<int>(index / sx % sy),
            static_cast<int>(index / (sx * sy))};
}

bool empty(std::uint8_t type) {
    return type == 0 || objectTypes[type].undefined;
}

void checkStart(std::vector<LevelWarning>& out) {
    const LevelState& s = levelState;
    if (!InsideGrid(s.startX, s.startY, s.startZ)) {
        warn(out, "The start point lies outside the level.");
        return;
    }
    const auto warnStart = [&](const char* text) {
        warnAt(out, text, s.startX, s.startY, s.startZ);
    };
    if (solid(cellAt(s.startX, s.startY, s.startZ)))
        warnStart("The start point is inside a solid cell.");
    bool ground = !empty(cellAt(s.startX, s.startY, s.startZ));
    for (int y = s.startY - 1; y >= 0 && !ground; --y)
        ground = !empty(cellAt(s.startX, y, s.startZ));
    if (!ground) warnStart("The start point is over nothing.");
    if (s.startX == s.exitX && s.startY == s.exitY && s.startZ == s.exitZ)
        warnStart("The start point and the exit are the same cell.");
}

void checkIngotDoors(std::vector<LevelWarning>& out) {
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
        if (opened && !hasIngots) {
            const CellPosition c = firstCellOf(static_cast<std::uint8_t>(door));
            warnAt(out,
                   "The ingot door " + objectTypes[door].Name +
                       " has no ingots in the level to open it.",
                   c.x, c.y, c.z);
        }
    }
}

} // namespace

std::vector<LevelWarning> CheckLevelWarnings() {
    std::vector<LevelWarning> out;
    const LevelState& s = levelState;
    if (!InsideGrid(s.exitX, s.exitY, s.exitZ))
        warn(out, "The exit is not placed inside the level.");
    checkStart(out);
    for (int i = 1; i <= sentryCount && i < kSentrySlots; ++i) {
        const SentryRecord& e = sentries[i];
        if (e.x == 0 && e.y == 0 && e.z == 0)
            warn(out, "Sentry NME #" + std::to_string(i) + " has never been placed.");
        else if (!InsideGrid(CellOf(e.x), CellOf(e.y), CellOf(e.z)))
            warn(out, "Sentry NME #" + std::to_string(i) + " lies outside the level.");
    }
    for (const MusicZone& zone : s.musicZones) {
        if (zone.x == kUnusedMusicZone) continue;
        if (zone.music < 0 || zone.music >= kMusicListSize || musicList[zone.music].file.empty())
            warnAt(out,
                   "The music zone at " + cellText(zone.x, zone.y, zone.z) +
                       " names an empty music entry.",
                   zone.x, zone.y, zone.z);
    }
    checkIngotDoors(out);
    return out;
}

std::vector<std::string> CheckLevel() {
    std::vector<std::string> out;
    for (LevelWarning& w : CheckLevelWarnings()) out.push_back(std::move(w.text));
    return out;
}

std::string WarningLine(const LevelWarning& warning) {
    if (!warning.hasCell) return warning.text;
    const CellPosition& c = warning.cell;
    return cellText(c.x, c.y, c.z) + " " + warning.text;
}
