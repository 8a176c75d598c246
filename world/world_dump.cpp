#include "world/world_dump.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "world/camera_sight.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/random.h"
#include "world/world.h"

namespace {

constexpr std::size_t kChangedCellsListed = 64;
constexpr std::size_t kEventsListed = 16;

// Shortest text that reads back as the same float.
std::string real(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string triple(std::int64_t a, std::int64_t b, std::int64_t c) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}

// "x,y,z:old>new" for the first cells that differ from the level as loaded.
std::string changedCells() {
    const WorldGrid& g = worldGrid;
    std::string text;
    std::size_t listed = 0;
    const std::size_t n = std::min(g.cells.size(), world.startCells.size());
    for (std::size_t i = 0; i < n && listed < kChangedCellsListed; ++i) {
        if (g.cells[i] == world.startCells[i]) continue;
        const std::int64_t x = static_cast<std::int64_t>(i % g.sizeX);
        const std::int64_t y = static_cast<std::int64_t>((i / g.sizeX) % g.sizeY);
        const std::int64_t z = static_cast<std::int64_t>(i / (std::size_t(g.sizeX) * g.sizeY));
        if (listed++) text += ' ';
        text += triple(x, y, z) + ":" + std::to_string(world.startCells[i]) + ">" +
                std::to_string(g.cells[i]);
    }
    return text;
}

} // namespace

std::uint64_t GridHash() {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t cell : worldGrid.cells) hash = (hash ^ cell) * 1099511628211ull;
    return hash;
}

std::string DescribeWorldState() {
    std::ostringstream out;
    auto add = [&out](const std::string& key, const auto& value) {
        out << key << '=' << value << '\n';
    };
    const PlayerRecord& p = players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
    add("lives", p.lives);
    add("dead", int{p.dead});
    add("deaths", world.deaths);
    add("player.x", real(p.x));
    add("player.y", real(p.y));
    add("player.z", real(p.z));
    add("player.cell", triple(CellOf(p.x), CellOf(p.y), CellOf(p.z)));
    add("player.heading", real(p.heading));
    add("fallSpeed", real(p.fallSpeed));
    add("onGround", int{p.onGround});
    add("onLadder", int{p.onLadder});
    add("busyMs", p.busyMs);
    add("pose", p.pose);
    add("actionCell", triple(p.actionCell[0], p.actionCell[1], p.actionCell[2]));
    add("light", real(p.light));
    add("cameraDistance", real(p.cameraDistance));
    add("camera.eye", real(p.cameraX) + "," + real(p.cameraY) + "," + real(p.cameraZ));
    add("camera.sight", CameraSightName(CheckCameraSight(world, p)));
    add("camera.fade", real(p.cameraFade));
    add("menu.open", int{world.menu.open});
    add("menu.selected", world.menu.selected);
    add("timerRunning", int{timerRunning});
    add("timeLeftMs", timeLeftMs);
    for (int t = 0; t < kObjectTypeCount; ++t)
        if (!objectTypes[t].undefined && objectTypes[t].Lingot)
            add("lingot." + std::to_string(t), objectTypes[t].lingotCount);
    add("holes", holeCount + 1);
    add("blocks", slidingBlockCount + 1);
    add("transitions", std::count_if(transitionSlots.begin(), transitionSlots.end(),
                                     [](const TransitionSlot& slot) { return slot.active != 0; }));
    add("sentries", sentryCount);
    const int lastSentry = std::clamp(sentryCount, 0, kSentrySlots - 1);
    for (int i = 1; i <= lastSentry; ++i) {
        const SentryRecord& e = sentries[i];
        add("sentry." + std::to_string(i), real(e.x) + "," + real(e.y) + "," + real(e.z) + "," +
                                               std::to_string(e.state) + "," +
                                               std::to_string(e.stuck) + "," + real(e.heading));
    }
    add("random", RandomSeedValue());
    add("grid.hash", GridHash());
    add("grid.changed", changedCells());
    add("won.frame", world.wonFrame);
    add("world.frame", world.frame);
    const auto& events = RecentWorldEvents();
    const std::size_t first = events.size() > kEventsListed ? events.size() - kEventsListed : 0;
    for (std::size_t i = first; i < events.size(); ++i)
        add("event." + std::to_string(i - first), DescribeWorldEvent(events[i]));
    return out.str();
}
