#include "editor/region_commands.h"

#include <string>
#include <utility>
#include <vector>

#include "editor/cell_edit.h"
#include "editor/editor_state.h"
#include "platform/keys.h"
#include "world/level_start.h"
#include "world/sentry_init.h"
#include "world/world.h"

std::function<void(const std::string&)> regionNotice;

namespace {

void notice(const std::string& text) {
    editor.lastMessage = text;
    if (regionNotice) regionNotice(text);
}

// Boxes beyond this many cells are refused: their clipboard and undo step
// would take gigabytes.
constexpr std::int64_t kMaxRegionCells = std::int64_t{1} << 24;

// False, with a message, for a box too large to work on.
bool workable(const CellBox& box) {
    const CellTriple size = BoxSize(box);
    const std::int64_t cells = std::int64_t{size.x} * size.y * size.z;
    if (cells <= kMaxRegionCells) return true;
    ShowEditorMessage("The box holds " + std::to_string(cells) + " cells: at most " +
                      std::to_string(kMaxRegionCells) + " can be worked on at once.");
    return false;
}

// The selected box, or the target cell's box; nullopt when neither is there
// or the box is too large.
std::optional<CellBox> workingBox() {
    std::optional<CellBox> box = SelectedBox();
    if (!box) {
        const CellPosition t = TargetCell();
        box = ClipBoxToGrid({{t.x, t.y, t.z}, {t.x, t.y, t.z}});
    }
    if (box && !workable(*box)) return std::nullopt;
    return box;
}

void freeZonesAt(int x, int y, int z) {
    for (MusicZone& zone : levelState.musicZones)
        if (zone.x == x && zone.y == y && zone.z == z) zone = MusicZone{};
}

// Clears the box's cells and zones into `edit`.
void clearBox(CellEdit& edit, const CellBox& box) {
    for (int z = box.low.z; z <= box.high.z; ++z)
        for (int y = box.low.y; y <= box.high.y; ++y)
            for (int x = box.low.x; x <= box.high.x; ++x) edit.Set(x, y, z, 0, 128);
    for (MusicZone& zone : levelState.musicZones)
        if (zone.x != kUnusedMusicZone && BoxContains(box, zone.x, zone.y, zone.z))
            zone = MusicZone{};
}

std::string boxText(const CellTriple& size) {
    return std::to_string(size.x) + " x " + std::to_string(size.y) + " x " + std::to_string(size.z);
}

// Places the clipboard's sentries for a paste at `origin` (world units of
// the box's low corner). Returns {left out beyond the edge, refused for want
// of room}.
std::pair<int, int> pasteSentries(const Clipboard& clip, float ox, float oy, float oz) {
    int outside = 0, refused = 0;
    for (const ClipSentry& c : clip.sentries) {
        const float x = ox + c.x, y = oy + c.y, z = oz + c.z;
        if (!InsideGrid(CellOf(x), CellOf(y), CellOf(z))) {
            ++outside;
            continue;
        }
        int slot = 0;
        if (c.slot > 0 && c.slot <= sentryCount) {
            const SentryRecord& s = sentries[static_cast<std::size_t>(c.slot)];
            if (s.x == c.cutX && s.y == c.cutY && s.z == c.cutZ) slot = c.slot;
        }
        if (slot == 0) {
            if (sentryCount >= kMaxLevelSentries) {
                ++refused;
                continue;
            }
            slot = ++sentryCount;
        }
        SentryRecord& s = sentries[static_cast<std::size_t>(slot)];
        s.x = x;
        s.y = y;
        s.z = z;
        s.heading = c.heading;
    }
    return {outside, refused};
}

RegionKeysHeld& held() {
    return editor.regionKeys;
}

} // namespace

void CopyRegionCommand() {
    const std::optional<CellBox> box = workingBox();
    if (!box) return;
    editor.clipboard = CopyBox(*box, false);
    notice("Copied " + boxText(editor.clipboard.size) + " cells.");
}

void CutRegionCommand() {
    const std::optional<CellBox> box = workingBox();
    if (!box) return;
    editor.clipboard = CopyBox(*box, true);
    CellEdit edit;
    edit.CaptureMetaBefore();
    clearBox(edit, *box);
    edit.CaptureMetaAfter();
    edit.Commit(false);
    notice("Cut " + boxText(editor.clipboard.size) + " cells.");
}

void PasteCommand() {
    const Clipboard& clip = editor.clipboard;
    if (ClipboardEmpty(clip)) {
        ShowEditorMessage("The clipboard is empty: copy or cut a box first.");
        return;
    }
    const CellPosition origin = TargetCell();
    CellEdit edit;
    edit.CaptureMetaBefore();
    std::int64_t cellsOutside = 0;
    std::vector<MusicZone> zones;
    for (int z = 0; z < clip.size.z; ++z)
        for (int y = 0; y < clip.size.y; ++y)
            for (int x = 0; x < clip.size.x; ++x) {
                const int tx = origin.x + x, ty = origin.y + y, tz = origin.z + z;
                if (!InsideGrid(tx, ty, tz)) {
                    ++cellsOutside;
                    continue;
                }
                const ClipCell& cell = ClipAt(clip, x, y, z);
                edit.Set(tx, ty, tz, cell.type, cell.brightness);
                freeZonesAt(tx, ty, tz);
                if (cell.music >= 0) zones.push_back({tx, ty, tz, cell.music});
            }
    // New zones take the free records from the highest, as placing one does.
    int zonesRefused = 0;
    int next = kMusicZoneCount - 1;
    for (const MusicZone& zone : zones) {
        while (next >= 0 && levelState.musicZones[next].x >= 0) --next;
        if (next < 0) {
            ++zonesRefused;
            continue;
        }
        levelState.musicZones[next--] = zone;
    }
    const auto corner = [](int cell) { return static_cast<float>(std::int64_t{cell} * worldUnit); };
    const auto [sentriesOutside, sentriesRefused] =
        pasteSentries(clip, corner(origin.x), corner(origin.y), corner(origin.z));
    InitSentries();
    edit.CaptureMetaAfter();
    edit.Commit(false);

    std::string problems;
    if (cellsOutside > 0 || sentriesOutside > 0)
        problems += "The paste reaches past the level's edge: " + std::to_string(cellsOutside) +
                    " cells and " + std::to_string(sentriesOutside) + " sentries left out.";
    if (sentriesRefused > 0)
        problems += std::string(problems.empty() ? "" : "\n") + std::to_string(sentriesRefused) +
                    " sentries not copied: a level holds at most " +
                    std::to_string(kMaxLevelSentries) + ".";
    if (zonesRefused > 0)
        problems += std::string(problems.empty() ? "" : "\n") + std::to_string(zonesRefused) +
                    " music zones left out: all " + std::to_string(kMusicZoneCount) +
                    " are in use.";
    if (!problems.empty()) ShowEditorMessage(problems);
}

bool ClearRegionCommand() {
    const std::optional<CellBox> box = SelectedBox();
    if (!box) return false;
    if (!workable(*box)) return true;
    CellEdit edit;
    edit.CaptureMetaBefore();
    clearBox(edit, *box);
    edit.CaptureMetaAfter();
    edit.Commit(false);
    return true;
}

bool FillRegionCommand() {
    const std::optional<CellBox> box = SelectedBox();
    if (!box) return false;
    if (!workable(*box)) return true;
    CellEdit edit;
    for (int z = box->low.z; z <= box->high.z; ++z)
        for (int y = box->low.y; y <= box->high.y; ++y)
            for (int x = box->low.x; x <= box->high.x; ++x)
                edit.SetType(x, y, z, editor.currentObject);
    edit.Commit(false);
    return true;
}

void TransformClipboardCommand(ClipTransform transform) {
    if (ClipboardEmpty(editor.clipboard)) return;
    const int kept = TransformClipboard(editor.clipboard, transform);
    if (kept > 0) notice(std::to_string(kept) + " cells have no turned form and keep their type.");
}

void PollRegionKeys(const std::function<bool(int)>& query, const std::function<bool(int)>& isDown) {
    const bool ctrl = isDown(kVkControl), alt = isDown(kVkMenu), shift = isDown(kVkShift);
    // A chord acts once a press; its letter stays claimed until let go.
    const auto chord = [&](int key, bool& claimed, void (*command)()) {
        const bool pressed = ctrl && !alt && query(key);
        if (pressed && !claimed) command();
        claimed = (claimed || pressed) && isDown(key);
    };
    chord('C', held().copy, CopyRegionCommand);
    chord('X', held().cut, CutRegionCommand);
    chord('V', held().paste, PasteCommand);
    const auto once = [&](int key, bool& wasDown) {
        const bool down = !ctrl && !alt && query(key);
        const bool act = down && !wasDown;
        wasDown = down;
        return act;
    };
    if (once('R', held().turn))
        TransformClipboardCommand(shift ? ClipTransform::TurnLeft : ClipTransform::TurnRight);
    if (once('M', held().mirror))
        TransformClipboardCommand(shift ? ClipTransform::MirrorZ : ClipTransform::MirrorX);
    if (query(kVkEscape)) ClearSelection();
}

bool RegionKeyTaken(int key) {
    return (key == 'C' && held().copy) || (key == 'X' && held().cut) ||
           (key == 'V' && held().paste);
}
