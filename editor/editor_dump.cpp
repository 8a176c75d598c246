#include "editor/editor_dump.h"

#include <cstdio>
#include <sstream>

#include "editor/editor_state.h"
#include "editor/region_select.h"
#include "media/music_list.h"
#include "media/music_player.h"
#include "platform/dump_text.h"
#include "platform/text_codepage.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

std::string real(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string pose(const SelectorPose& p) {
    return real(p.x) + "," + real(p.y) + "," + real(p.z) + "," + real(p.heading);
}

std::string triple(std::int64_t a, std::int64_t b, std::int64_t c) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}

class Dump {
  public:
    void add(const std::string& key, const std::string& value) {
        out_ << key << '=' << EscapeDumpText(value) << '\n';
    }
    void add(const std::string& key, std::int64_t value) { add(key, std::to_string(value)); }
    std::string text() const { return out_.str(); }

  private:
    std::ostringstream out_;
};

} // namespace

std::string CellDigest() {
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&](std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (std::int32_t size : {worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ})
        for (int shift = 0; shift < 32; shift += 8) mix(static_cast<std::uint8_t>(size >> shift));
    for (std::uint8_t type : worldGrid.cells) mix(type);
    for (std::uint8_t light : worldGrid.brightness) mix(light);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string DescribeEditorState(const EditorWindowFacts& window) {
    const LevelState& level = levelState;
    Dump d;
    d.add("selectorTarget", pose(editor.target));
    d.add("selectorShown", pose(editor.shown));
    const CellPosition cell = TargetCell();
    d.add("selectorCell", triple(cell.x, cell.y, cell.z));
    d.add("pitch", real(editor.pitchTarget) + "," + real(editor.pitch));
    d.add("distance", real(editor.distanceTarget) + "," + real(editor.distance));
    d.add("currentObject", editor.currentObject);
    d.add("currentObjectName", objectTypes[editor.currentObject].Name);
    d.add("sizes", triple(worldGrid.sizeX, worldGrid.sizeY, worldGrid.sizeZ));
    d.add("start", triple(level.startX, level.startY, level.startZ) + "," +
                       std::to_string(level.startHeading));
    d.add("exit", triple(level.exitX, level.exitY, level.exitZ));
    d.add("definitionFile", level.definitionFile);
    d.add("description", Cp1252ToUtf8(level.description));
    d.add("author", Cp1252ToUtf8(level.author));
    d.add("seed", level.randomSeed);
    d.add("outside", level.outside);
    d.add("sentryCount", sentryCount);
    for (int i = 1; i <= sentryCount && i < kSentrySlots; ++i) {
        const SentryRecord& s = sentries[static_cast<std::size_t>(i)];
        d.add("sentry" + std::to_string(i),
              real(s.x) + "," + real(s.y) + "," + real(s.z) + "," + real(s.heading));
    }
    int used = 0;
    for (int i = 0; i < kMusicZoneCount; ++i) {
        const MusicZone& zone = level.musicZones[static_cast<std::size_t>(i)];
        if (zone.x == kUnusedMusicZone) continue;
        ++used;
        const bool listed = zone.music >= 0 && zone.music < kMusicListSize;
        d.add("musicZone" + std::to_string(i),
              triple(zone.x, zone.y, zone.z) + "," + std::to_string(zone.music) + "," +
                  (listed ? musicList[static_cast<std::size_t>(zone.music)].name : ""));
    }
    d.add("musicZonesUsed", used);
    const MusicState music = CurrentMusicState();
    d.add("musicPlaying", music.index);
    d.add("musicKind", MusicKindName(music.kind));
    d.add("cellDigest", CellDigest());
    const std::optional<CellBox> box = SelectedBox();
    d.add("selectionBox", box ? triple(box->low.x, box->low.y, box->low.z) + "," +
                                    triple(box->high.x, box->high.y, box->high.z)
                              : "");
    const Clipboard& clip = editor.clipboard;
    d.add("clipboardSize", triple(clip.size.x, clip.size.y, clip.size.z));
    std::int64_t filled = 0, zones = 0;
    for (const ClipCell& cell : clip.cells) {
        filled += cell.type != 0 ? 1 : 0;
        zones += cell.music >= 0 ? 1 : 0;
    }
    d.add("clipboardFilledCells", filled);
    d.add("clipboardMusicZones", zones);
    d.add("clipboardSentries", static_cast<std::int64_t>(clip.sentries.size()));
    d.add("caption", window.caption);
    d.add("fileName", editor.fileName);
    d.add("modified", editor.modified ? 1 : 0);
    d.add("undoSteps", static_cast<std::int64_t>(editor.history.position));
    d.add("redoSteps",
          static_cast<std::int64_t>(editor.history.steps.size() - editor.history.position));
    d.add("lastMessage", editor.lastMessage);
    d.add("autosaveFolder", editor.autosaveFolder);
    d.add("autosaveFile", editor.autosaveWritten);
    d.add("autosaves", editor.autosaves);
    d.add("autosaveChangedMs", editor.autosaveChangedMs);
    d.add("autosaveRestored", editor.autosaveRestored);
    d.add("recentFiles", static_cast<std::int64_t>(editor.recentFiles.size()));
    for (std::size_t i = 0; i < editor.recentFiles.size(); ++i)
        d.add("recent" + std::to_string(i + 1), editor.recentFiles[i]);
    d.add("testPlay", editor.lastLaunch);
    d.add("helpShown", window.helpShown ? 1 : 0);
    return d.text();
}
