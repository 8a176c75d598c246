#include "formats/level_file.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <span>
#include <string_view>

#include "formats/definitions.h"
#include "formats/level_catalogue.h"
#include "platform/byte_io.h"
#include "platform/files.h"
#include "platform/text_case.h"
#include "world/world.h"

namespace {

// Length byte, then that many characters; the padding is ignored.
std::string readShortString(ByteReader& in) {
    const auto field = in.Bytes(kShortStringSize);
    if (field.empty()) return {};
    return std::string(reinterpret_cast<const char*>(field.data() + 1), field[0]);
}

// Cut to 255 characters; the rest of the field is zero.
void writeShortString(ByteWriter& out, const std::string& text) {
    const std::size_t length = std::min<std::size_t>(text.size(), kShortStringSize - 1);
    out.U8(static_cast<std::uint8_t>(length));
    out.Text(std::string_view(text).substr(0, length));
    out.Zeros(kShortStringSize - 1 - length);
}

// Exactly `length` bytes: a shorter layer is padded with zeros.
void writeLayer(ByteWriter& out, const std::vector<std::uint8_t>& layer, std::size_t length) {
    const std::size_t kept = std::min(length, layer.size());
    out.Bytes(std::span(layer.data(), kept));
    out.Zeros(length - kept);
}

// The bytes the file's own sizes call for, read from its start: up to the
// last sentry record, so that whatever follows is never read. Nothing when
// the sizes already show the file cannot be a level.
std::optional<std::vector<std::uint8_t>> readLevelBytes(const FileReader& file) {
    const auto header = file.Read(0, kLevelHeaderSize);
    if (!header) return std::nullopt;
    ByteReader in(*header);
    in.Seek(256);
    const std::int32_t x = in.I32(), y = in.I32(), z = in.I32();
    const auto cellCount = LevelCellCount(x, y, z);
    if (!cellCount || LevelFileSize(*cellCount, 0) > file.Size()) return std::nullopt;
    // The sentry count and the seed are the last eight bytes of the fixed part.
    const auto countField = file.Read(LevelFileSize(*cellCount, 0) - 8, 4);
    if (!countField) return std::nullopt;
    const std::int32_t sentryCount = ByteReader(*countField).I32();
    if (sentryCount < 0 || sentryCount > kMaxLevelSentries) return std::nullopt;
    return file.Read(0, std::min(file.Size(), LevelFileSize(*cellCount, sentryCount)));
}

} // namespace

std::optional<std::int64_t> LevelCellCount(std::int32_t x, std::int32_t y, std::int32_t z) {
    constexpr std::int64_t limit = 2147483647;
    if (x <= 0 || y <= 0 || z <= 0) return std::nullopt;
    const std::int64_t plane = static_cast<std::int64_t>(x) * y;
    if (plane > limit) return std::nullopt;
    const std::int64_t count = plane * z;
    if (count > limit) return std::nullopt;
    return count;
}

std::uint64_t LevelFileSize(std::int64_t cellCount, std::int64_t sentryCount) {
    return kLevelFixedSize + 2 * static_cast<std::uint64_t>(cellCount) +
           kLevelSentryRecordSize * static_cast<std::uint64_t>(sentryCount);
}

std::optional<LevelData> ParseLevel(const std::uint8_t* data, std::size_t size) {
    ByteReader in(std::span(data, size));
    LevelData level;
    LevelState& s = level.state;
    s.definitionFile = readShortString(in);
    level.sizeX = in.I32();
    level.sizeY = in.I32();
    level.sizeZ = in.I32();
    s.startX = in.I32();
    s.startY = in.I32();
    s.startZ = in.I32();
    s.startHeading = in.I32();
    s.exitX = in.I32();
    s.exitY = in.I32();
    s.exitZ = in.I32();
    if (!in.Ok()) return std::nullopt;

    const auto cellCount = LevelCellCount(level.sizeX, level.sizeY, level.sizeZ);
    // The layers must be in the data before anything is allocated for them.
    if (!cellCount || LevelFileSize(*cellCount, 0) > size) return std::nullopt;
    const auto n = static_cast<std::uint64_t>(*cellCount);

    const auto cells = in.Bytes(n);
    level.cells.assign(cells.begin(), cells.end());
    const auto brightness = in.Bytes(n);
    level.brightness.assign(brightness.begin(), brightness.end());
    for (MusicZone& zone : s.musicZones) {
        zone.x = in.I32();
        zone.y = in.I32();
        zone.z = in.I32();
        zone.music = in.I32();
    }
    s.description = readShortString(in);
    s.author = readShortString(in);
    s.outside = in.U8();
    const std::int32_t sentryCount = in.I32();
    s.randomSeed = in.I32();
    if (!in.Ok() || sentryCount < 0 || sentryCount > kMaxLevelSentries) return std::nullopt;

    level.sentries.resize(static_cast<std::size_t>(sentryCount));
    for (LevelSentry& sentry : level.sentries) {
        sentry.x = in.F32();
        sentry.y = in.F32();
        sentry.z = in.F32();
        sentry.heading = in.F32();
        // A sentry that is not at a number would poison every later step.
        if (!std::isfinite(sentry.x) || !std::isfinite(sentry.y) || !std::isfinite(sentry.z) ||
            !std::isfinite(sentry.heading)) {
            return std::nullopt;
        }
    }
    if (!in.Ok()) return std::nullopt;
    return level;
}

std::vector<std::uint8_t> EncodeLevel(const LevelData& level) {
    const std::uint64_t n = LevelCellCount(level.sizeX, level.sizeY, level.sizeZ).value_or(0);
    const std::size_t sentryCount = std::min<std::size_t>(level.sentries.size(), kMaxLevelSentries);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(
        LevelFileSize(static_cast<std::int64_t>(n), static_cast<std::int64_t>(sentryCount)));
    ByteWriter out(bytes);
    const LevelState& s = level.state;

    writeShortString(out, s.definitionFile);
    for (std::int32_t value : {level.sizeX, level.sizeY, level.sizeZ, s.startX, s.startY, s.startZ,
                               s.startHeading, s.exitX, s.exitY, s.exitZ})
        out.I32(value);
    writeLayer(out, level.cells, n);
    writeLayer(out, level.brightness, n);
    for (const MusicZone& zone : s.musicZones) {
        out.I32(zone.x);
        out.I32(zone.y);
        out.I32(zone.z);
        out.I32(zone.music);
    }
    writeShortString(out, s.description);
    writeShortString(out, s.author);
    out.U8(s.outside);
    out.I32(static_cast<std::int32_t>(sentryCount));
    out.I32(s.randomSeed);
    for (std::size_t k = 0; k < sentryCount; ++k) {
        const LevelSentry& sentry = level.sentries[k];
        out.F32(sentry.x);
        out.F32(sentry.y);
        out.F32(sentry.z);
        out.F32(sentry.heading);
    }
    return bytes;
}

std::string LevelErrorText(const std::string& path) {
    return "The file " + path + " is missing or invalid.";
}

Loaded<LevelData> ReadLevelFile(const std::string& path) {
    try {
        if (const auto file = FileReader::Open(path)) {
            if (const auto bytes = readLevelBytes(*file)) {
                if (auto level = ParseLevel(bytes->data(), bytes->size()))
                    return LoadedValue(std::move(*level));
            }
        }
    } catch (const std::bad_alloc&) {
    }
    return LoadFailure{LevelErrorText(path)};
}

std::string EditorDefinitionFile() {
    return UpperAscii(kDefinitionFile);
}

LevelData CurrentLevel() {
    LevelData level;
    level.state = levelState;
    level.state.definitionFile = EditorDefinitionFile();
    level.sizeX = worldGrid.sizeX;
    level.sizeY = worldGrid.sizeY;
    level.sizeZ = worldGrid.sizeZ;
    level.cells = worldGrid.cells;
    level.brightness = worldGrid.brightness;
    const std::int32_t count = std::clamp(sentryCount, 0, kMaxLevelSentries);
    for (std::int32_t k = 1; k <= count; ++k) {
        const SentryRecord& sentry = sentries[k];
        level.sentries.push_back({sentry.x, sentry.y, sentry.z, sentry.heading});
    }
    return level;
}

LevelLoad LoadLevel(const std::string& path, const std::string& detail) {
    const Loaded<LevelData> level = ReadLevelFile(path);
    if (!level) return {kLevelRefused, level.error};
    // The definitions come after the level is in place (a level whose
    // definitions fail is still the current one), and before its ingots are
    // counted, so that the count uses the types they bring.
    Loaded<> definitions = LoadedDone();
    const std::string own = EqualNoCase(level->state.definitionFile, kDefinitionFile)
                                ? OwnDefinitionFile(path)
                                : std::string();
    const auto loadTypes = [&] {
        definitions = own.empty() ? LoadDefinitions(level->state.definitionFile, detail)
                                  : LoadOwnDefinitions(own, detail);
    };
    if (!ApplyLevel(*level, loadTypes)) return {kLevelRefused, LevelErrorText(path)};
    if (!definitions) return {kLevelDefinitionsFailed, definitions.error, !own.empty()};
    return {kLevelLoaded, {}, !own.empty()};
}

bool WriteLevelBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteFileStart(path, bytes);
}

bool SaveLevel(const std::string& path) {
    return WriteLevelBytes(path, EncodeLevel(CurrentLevel()));
}
