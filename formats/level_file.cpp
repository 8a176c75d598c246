#include "formats/level_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>

#include "formats/definitions.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "world/level_state.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

constexpr std::size_t kIntSize = 4;

// Every field is read as a block at its offset; a block that does not lie
// wholly inside the data is refused instead of read.
class BlockReader {
  public:
    BlockReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    const std::uint8_t* block(std::uint64_t offset, std::uint64_t length) {
        if (offset > size_ || length > size_ - offset) {
            ok_ = false;
            return nullptr;
        }
        return data_ + offset;
    }

    std::int32_t int32(std::uint64_t offset) {
        const std::uint8_t* p = block(offset, kIntSize);
        if (!p) return 0;
        const std::uint32_t v =
            static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        return static_cast<std::int32_t>(v);
    }

    float real32(std::uint64_t offset) {
        return std::bit_cast<float>(static_cast<std::uint32_t>(int32(offset)));
    }

    std::uint8_t byte(std::uint64_t offset) {
        const std::uint8_t* p = block(offset, 1);
        return p ? *p : 0;
    }

    // Length byte, then that many characters; the padding is ignored.
    std::string shortString(std::uint64_t offset) {
        const std::uint8_t* p = block(offset, kShortStringSize);
        if (!p) return {};
        return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
    }

    std::vector<std::uint8_t> bytes(std::uint64_t offset, std::uint64_t length) {
        const std::uint8_t* p = block(offset, length);
        if (!p) return {};
        return std::vector<std::uint8_t>(p, p + length);
    }

    bool ok() const { return ok_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool ok_ = true;
};

class BlockWriter {
  public:
    explicit BlockWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void int32(std::size_t offset, std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (std::size_t i = 0; i < kIntSize; ++i) {
            out_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }

    void real32(std::size_t offset, float value) {
        int32(offset, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
    }

    // Cut to 255 characters; the rest of the field stays zero.
    void shortString(std::size_t offset, const std::string& text) {
        const std::size_t length = std::min<std::size_t>(text.size(), kShortStringSize - 1);
        out_[offset] = static_cast<std::uint8_t>(length);
        std::memcpy(out_.data() + offset + 1, text.data(), length);
    }

    // Copies at most `length` bytes of `data`; a shorter layer leaves zeros.
    void bytes(std::size_t offset, const std::vector<std::uint8_t>& data, std::size_t length) {
        std::memcpy(out_.data() + offset, data.data(), std::min(length, data.size()));
    }

  private:
    std::vector<std::uint8_t>& out_;
};

// Offsets of the fields that follow the two layers of N cells each.
struct TailOffsets {
    std::uint64_t musicZones, description, author, outside, sentryCount, seed, sentries;
};

TailOffsets tailOffsets(std::uint64_t cellCount) {
    const std::uint64_t zones = kLevelHeaderSize + 2 * cellCount;
    const std::uint64_t description = zones + kMusicZoneCount * kMusicZoneRecordSize;
    const std::uint64_t author = description + kShortStringSize;
    const std::uint64_t outside = author + kShortStringSize;
    return {zones, description, author, outside, outside + 1, outside + 5, outside + 9};
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
    BlockReader in(data, size);
    LevelData level;
    LevelState& s = level.state;
    s.definitionFile = in.shortString(0);
    level.sizeX = in.int32(256);
    level.sizeY = in.int32(260);
    level.sizeZ = in.int32(264);
    s.startX = in.int32(268);
    s.startY = in.int32(272);
    s.startZ = in.int32(276);
    s.startHeading = in.int32(280);
    s.exitX = in.int32(284);
    s.exitY = in.int32(288);
    s.exitZ = in.int32(292);
    if (!in.ok()) return std::nullopt;

    const auto cellCount = LevelCellCount(level.sizeX, level.sizeY, level.sizeZ);
    // The layers must be in the data before anything is allocated for them.
    if (!cellCount || LevelFileSize(*cellCount, 0) > size) return std::nullopt;
    const auto n = static_cast<std::uint64_t>(*cellCount);
    const TailOffsets at = tailOffsets(n);

    level.cells = in.bytes(kLevelHeaderSize, n);
    level.brightness = in.bytes(kLevelHeaderSize + n, n);
    for (int i = 0; i < kMusicZoneCount; ++i) {
        const std::uint64_t record = at.musicZones + i * kMusicZoneRecordSize;
        MusicZone& zone = s.musicZones[i];
        zone.x = in.int32(record);
        zone.y = in.int32(record + 4);
        zone.z = in.int32(record + 8);
        zone.music = in.int32(record + 12);
    }
    s.description = in.shortString(at.description);
    s.author = in.shortString(at.author);
    s.outside = in.byte(at.outside);
    const std::int32_t sentryCount = in.int32(at.sentryCount);
    s.randomSeed = in.int32(at.seed);
    if (!in.ok() || sentryCount < 0 || sentryCount > kMaxLevelSentries) return std::nullopt;

    level.sentries.resize(static_cast<std::size_t>(sentryCount));
    for (std::int32_t k = 0; k < sentryCount; ++k) {
        const std::uint64_t record = at.sentries + k * kLevelSentryRecordSize;
        LevelSentry& sentry = level.sentries[k];
        sentry.x = in.real32(record);
        sentry.y = in.real32(record + 4);
        sentry.z = in.real32(record + 8);
        sentry.heading = in.real32(record + 12);
        // A sentry that is not at a number would poison every later step.
        if (!std::isfinite(sentry.x) || !std::isfinite(sentry.y) || !std::isfinite(sentry.z) ||
            !std::isfinite(sentry.heading)) {
            return std::nullopt;
        }
    }
    if (!in.ok()) return std::nullopt;
    return level;
}

std::vector<std::uint8_t> EncodeLevel(const LevelData& level) {
    const std::uint64_t n = LevelCellCount(level.sizeX, level.sizeY, level.sizeZ).value_or(0);
    const std::size_t sentryCount = std::min<std::size_t>(level.sentries.size(), kMaxLevelSentries);
    std::vector<std::uint8_t> bytes(
        LevelFileSize(static_cast<std::int64_t>(n), static_cast<std::int64_t>(sentryCount)));
    BlockWriter out(bytes);
    const LevelState& s = level.state;
    const TailOffsets at = tailOffsets(n);

    out.shortString(0, s.definitionFile);
    out.int32(256, level.sizeX);
    out.int32(260, level.sizeY);
    out.int32(264, level.sizeZ);
    out.int32(268, s.startX);
    out.int32(272, s.startY);
    out.int32(276, s.startZ);
    out.int32(280, s.startHeading);
    out.int32(284, s.exitX);
    out.int32(288, s.exitY);
    out.int32(292, s.exitZ);
    out.bytes(kLevelHeaderSize, level.cells, n);
    out.bytes(kLevelHeaderSize + n, level.brightness, n);
    for (int i = 0; i < kMusicZoneCount; ++i) {
        const std::size_t record = at.musicZones + i * kMusicZoneRecordSize;
        const MusicZone& zone = s.musicZones[i];
        out.int32(record, zone.x);
        out.int32(record + 4, zone.y);
        out.int32(record + 8, zone.z);
        out.int32(record + 12, zone.music);
    }
    out.shortString(at.description, s.description);
    out.shortString(at.author, s.author);
    bytes[at.outside] = s.outside;
    out.int32(at.sentryCount, static_cast<std::int32_t>(sentryCount));
    out.int32(at.seed, s.randomSeed);
    for (std::size_t k = 0; k < sentryCount; ++k) {
        const std::size_t record = at.sentries + k * kLevelSentryRecordSize;
        const LevelSentry& sentry = level.sentries[k];
        out.real32(record, sentry.x);
        out.real32(record + 4, sentry.y);
        out.real32(record + 8, sentry.z);
        out.real32(record + 12, sentry.heading);
    }
    return bytes;
}

std::string LevelErrorText(const std::string& path) {
    return "The file " + path + " is missing or invalid.";
}

std::optional<LevelData> ReadLevelFile(const std::string& path) {
    try {
        if (!FileExists(path)) return std::nullopt;
        const auto bytes = ReadWholeFile(path);
        if (!bytes) return std::nullopt;
        return ParseLevel(bytes->data(), bytes->size());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool ApplyLevel(const LevelData& level) {
    if (!ResizeWorldGrid(level.sizeX, level.sizeY, level.sizeZ)) return false;
    const std::size_t n = worldGrid.cells.size();
    std::fill(worldGrid.cells.begin(), worldGrid.cells.end(), 0);
    std::fill(worldGrid.brightness.begin(), worldGrid.brightness.end(), 0);
    std::copy_n(level.cells.begin(), std::min(n, level.cells.size()), worldGrid.cells.begin());
    std::copy_n(level.brightness.begin(), std::min(n, level.brightness.size()),
                worldGrid.brightness.begin());

    levelState = level.state;
    sentryCount =
        static_cast<std::int32_t>(std::min<std::size_t>(level.sentries.size(), kMaxLevelSentries));
    for (std::int32_t k = 0; k < sentryCount; ++k) {
        SentryRecord& sentry = sentries[k + 1];
        sentry.x = level.sentries[k].x;
        sentry.y = level.sentries[k].y;
        sentry.z = level.sentries[k].z;
        sentry.heading = level.sentries[k].heading;
    }

    ResetPlayersForLevel(levelState.startX, levelState.startY, levelState.startZ,
                         levelState.startHeading);
    RecountIngots();
    currentMusic = -1;
    ClearWorldLists();
    timerRunning = 0;
    timeLeftMs = 0;
    InitSentries();
    return true;
}

LevelData CurrentLevel() {
    LevelData level;
    level.state = levelState;
    level.state.definitionFile = kEditorDefinitionFile;
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

LevelLoadResult LoadLevel(const std::string& path, const std::string& detail) {
    const std::optional<LevelData> level = ReadLevelFile(path);
    if (!level || !ApplyLevel(*level)) {
        ShowMessageBox(LevelErrorText(path));
        return kLevelRefused;
    }
    const Loaded<> definitions = LoadDefinitions(levelState.definitionFile, detail);
    if (definitions) return kLevelLoaded;
    if (!definitions.error.empty()) ShowMessageBox(definitions.error);
    return kLevelDefinitionsFailed;
}

bool WriteLevelBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> contents = bytes;
    if (FileExists(path)) {
        // Bytes past the new end stay, as when writing into the open file.
        const auto old = ReadWholeFile(path);
        if (!old) return false;
        if (old->size() > contents.size()) {
            contents.insert(contents.end(),
                            old->begin() + static_cast<std::ptrdiff_t>(bytes.size()), old->end());
        }
    }
    return WriteWholeFile(path, contents);
}

bool SaveLevel(const std::string& path) {
    return WriteLevelBytes(path, EncodeLevel(CurrentLevel()));
}
