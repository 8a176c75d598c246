#include "editor/level_resize.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

#include "editor/edit_history.h"
#include "editor/editor_actions.h"
#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "editor/region_select.h"
#include "world/level_start.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

// Far beyond any grid the editor makes, small enough that sums of sizes and
// margins stay well inside an int.
constexpr int kMaxMargin = 1000000;

std::optional<int> parseMargin(const std::string& word) {
    std::size_t at = word[0] == '-' ? 1 : 0;
    if (at == word.size() || word.size() - at > 7) return std::nullopt;
    int value = 0;
    for (; at < word.size(); ++at) {
        if (word[at] < '0' || word[at] > '9') return std::nullopt;
        value = value * 10 + (word[at] - '0');
    }
    if (value > kMaxMargin) return std::nullopt;
    return word[0] == '-' ? -value : value;
}

bool inside(std::int64_t x, std::int64_t y, std::int64_t z, std::int64_t sx, std::int64_t sy,
            std::int64_t sz) {
    return x >= 0 && y >= 0 && z >= 0 && x < sx && y < sy && z < sz;
}

std::string plural(int count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::optional<ResizeMargins> ParseResizeAnswer(const std::string& text, std::string& error) {
    std::istringstream in(text);
    std::vector<int> values;
    for (std::string word; in >> word;) {
        const std::optional<int> value = parseMargin(word);
        if (!value) {
            error = "\"" + word + "\" is not a whole number of cells (at most " +
                    std::to_string(kMaxMargin) + ").";
            return std::nullopt;
        }
        values.push_back(*value);
    }
    if (values.size() != 6) {
        error = "Enter six numbers: west east down up south north.";
        return std::nullopt;
    }
    return ResizeMargins{values[0], values[1], values[2], values[3], values[4], values[5]};
}

bool ResizeLevel(const ResizeMargins& m) {
    const std::int64_t oldX = worldGrid.sizeX, oldY = worldGrid.sizeY, oldZ = worldGrid.sizeZ;
    const std::int64_t newX = oldX + m.west + m.east, newY = oldY + m.down + m.up,
                       newZ = oldZ + m.south + m.north;
    if (newX < 1 || newY < 1 || newZ < 1) {
        ShowEditorMessage("The level must keep at least one cell on every axis.");
        return false;
    }
    if (newX * newY * newZ > kMaxEditorCells) {
        ShowEditorMessage("Not enough memory.");
        return false;
    }
    if (m == ResizeMargins{}) return true;

    auto before = std::make_shared<GridSnapshot>(CaptureGrid());
    auto after = std::make_shared<GridSnapshot>();
    after->sizeX = static_cast<std::int32_t>(newX);
    after->sizeY = static_cast<std::int32_t>(newY);
    after->sizeZ = static_cast<std::int32_t>(newZ);
    const auto count = static_cast<std::size_t>(newX * newY * newZ);
    after->cells.assign(count, 0);
    after->brightness.assign(count, 128);
    for (std::int64_t z = 0; z < newZ; ++z)
        for (std::int64_t y = 0; y < newY; ++y)
            for (std::int64_t x = 0; x < newX; ++x) {
                const std::int64_t ox = x - m.west, oy = y - m.down, oz = z - m.south;
                if (!inside(ox, oy, oz, oldX, oldY, oldZ)) continue;
                const auto from = static_cast<std::size_t>(ox + oldX * (oy + oldY * oz));
                const auto to = static_cast<std::size_t>(x + newX * (y + newY * z));
                after->cells[to] = before->cells[from];
                after->brightness[to] = before->brightness[from];
            }

    EditStep step;
    step.metaBefore = CaptureLevelMeta();
    if (!RestoreGrid(*after)) {
        ShowEditorMessage("Not enough memory.");
        return false;
    }
    // The level's places move with the low sides.
    LevelState& level = levelState;
    std::vector<std::string> notes;
    const auto moved = [&](std::int32_t& x, std::int32_t& y, std::int32_t& z) {
        x += m.west;
        y += m.down;
        z += m.south;
        return inside(x, y, z, newX, newY, newZ);
    };
    if (inside(level.startX, level.startY, level.startZ, oldX, oldY, oldZ) &&
        !moved(level.startX, level.startY, level.startZ)) {
        level.startX = std::clamp<std::int32_t>(level.startX, 0, after->sizeX - 1);
        level.startY = std::clamp<std::int32_t>(level.startY, 0, after->sizeY - 1);
        level.startZ = std::clamp<std::int32_t>(level.startZ, 0, after->sizeZ - 1);
        notes.push_back("The start lay in the removed part: it moved to " +
                        std::to_string(level.startX) + "," + std::to_string(level.startY) + "," +
                        std::to_string(level.startZ) + ".");
    }
    // An exit outside the grid stands for "no exit yet" and stays outside.
    if (inside(level.exitX, level.exitY, level.exitZ, oldX, oldY, oldZ) &&
        !moved(level.exitX, level.exitY, level.exitZ))
        notes.push_back("The exit lay in the removed part: it is no longer placed.");
    int zonesFreed = 0;
    for (MusicZone& zone : level.musicZones) {
        if (zone.x == kUnusedMusicZone) continue;
        if (!moved(zone.x, zone.y, zone.z)) {
            zone = MusicZone{};
            ++zonesFreed;
        }
    }
    if (zonesFreed > 0)
        notes.push_back(plural(zonesFreed, "music zone", "music zones") +
                        " in the removed part freed.");
    const float dx = static_cast<float>(std::int64_t{m.west} * worldUnit);
    const float dy = static_cast<float>(std::int64_t{m.down} * worldUnit);
    const float dz = static_cast<float>(std::int64_t{m.south} * worldUnit);
    int kept = 0;
    const int oldCount = std::min(sentryCount, kSentrySlots - 1);
    for (int i = 1; i <= oldCount; ++i) {
        SentryRecord s = sentries[static_cast<std::size_t>(i)];
        s.x += dx;
        s.y += dy;
        s.z += dz;
        if (!inside(CellOf(s.x), CellOf(s.y), CellOf(s.z), newX, newY, newZ)) continue;
        SentryRecord& slot = sentries[static_cast<std::size_t>(++kept)];
        slot.x = s.x;
        slot.y = s.y;
        slot.z = s.z;
        slot.heading = s.heading;
    }
    if (kept < oldCount)
        notes.push_back(plural(oldCount - kept, "sentry", "sentries") +
                        " in the removed part removed.");
    sentryCount = kept;
    InitSentries();
    step.metaAfter = CaptureLevelMeta();
    step.gridBefore = std::move(before);
    step.gridAfter = std::move(after);
    RecordStep(editor.history, std::move(step), false);
    editor.modified = !HistoryAtSavedState(editor.history);

    for (SelectorPose* pose : {&editor.target, &editor.shown}) {
        pose->x += dx;
        pose->y += dy;
        pose->z += dz;
    }
    ClampSelector();
    ClearSelection();
    if (!notes.empty()) {
        std::string text;
        for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
        ShowEditorMessage(text);
    }
    return true;
}

void ResizeLevelCommand() {
    std::string initial = "0 0 0 0 0 0";
    for (;;) {
        const std::optional<std::string> answer =
            AskText("Resize level",
                    "Cells to add on each side, negative to remove: west east down up south north",
                    initial);
        if (!answer) return;
        std::string error;
        const std::optional<ResizeMargins> margins = ParseResizeAnswer(*answer, error);
        if (margins) {
            ResizeLevel(*margins);
            return;
        }
        ShowEditorMessage(error);
        initial = *answer;
    }
}
