#include "formats/replay_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/byte_io.h"
#include "platform/files.h"

namespace {

constexpr std::uint8_t kMagic[4] = {'K', 'V', 'R', 0x1a};
constexpr std::size_t kFrameBytes = 10;
constexpr std::uint64_t kReplayFileLimit = 64u << 20;

std::uint32_t fnv32(std::span<const std::uint8_t> bytes) {
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
    return hash;
}

void writeText(ByteWriter& out, const std::string& text) {
    const std::size_t n = std::min(text.size(), kReplayMaxText);
    out.U16(static_cast<std::uint16_t>(n));
    out.Text(std::string_view(text).substr(0, n));
}

bool readText(ByteReader& in, std::string& text) {
    const std::uint16_t n = in.U16();
    if (!in.Ok() || n > kReplayMaxText || n > in.Remaining()) return false;
    const auto bytes = in.Bytes(n);
    text.assign(bytes.begin(), bytes.end());
    return in.Ok();
}

} // namespace

std::uint64_t LevelDigest(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

std::string DigestText(std::uint64_t digest) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

std::vector<std::uint8_t> EncodeReplay(const Replay& r) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.Bytes(kMagic);
    out.U16(kReplayFormatVersion);
    out.U16(0);
    writeText(out, r.programVersion);
    writeText(out, r.buildRevision);
    writeText(out, r.levelPath);
    out.U32(static_cast<std::uint32_t>(r.levelDigest));
    out.U32(static_cast<std::uint32_t>(r.levelDigest >> 32));
    out.I32(r.start.tick);
    out.U32(r.start.randomSeed);
    out.I32(r.start.lives);
    out.F32(r.start.cameraDistance);
    out.F32(r.start.savedCameraDistance);
    out.I32(r.outcome);
    out.I32(r.levelTimeMs);
    const std::size_t n = std::min<std::size_t>(r.frames.size(), kReplayMaxFrames);
    out.U32(static_cast<std::uint32_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
        out.I32(r.frames[i].tick);
        out.I32(r.frames[i].frameMs);
        out.U16(r.frames[i].controls);
    }
    out.U32(fnv32(bytes));
    return bytes;
}

Loaded<Replay> DecodeReplay(std::span<const std::uint8_t> bytes, const std::string& name) {
    const auto refuse = [&name](const std::string& why) {
        return LoadFailure{"The replay " + name + " cannot be played: " + why + "."};
    };
    if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return refuse("it is not a Kelvane replay");
    ByteReader in(bytes);
    in.Skip(sizeof kMagic);
    const std::uint16_t format = in.U16();
    const std::uint16_t reserved = in.U16();
    if (format != kReplayFormatVersion)
        return refuse("its format " + std::to_string(format) + " is not " +
                      std::to_string(kReplayFormatVersion));
    if (reserved != 0) return refuse("it asks for features this version does not know");
    if (bytes.size() < 4 || fnv32(bytes.first(bytes.size() - 4)) != ByteReader(bytes.last(4)).U32())
        return refuse("it is damaged (its checksum does not match)");
    bytes = bytes.first(bytes.size() - 4);
    in = ByteReader(bytes);
    in.Skip(sizeof kMagic + 4);

    Replay r;
    if (!readText(in, r.programVersion) || !readText(in, r.buildRevision) ||
        !readText(in, r.levelPath))
        return refuse("a name is cut short or too long");
    const std::uint32_t low = in.U32();
    const std::uint32_t high = in.U32();
    r.levelDigest = (std::uint64_t{high} << 32) | low;
    r.start.tick = in.I32();
    r.start.randomSeed = in.U32();
    r.start.lives = in.I32();
    r.start.cameraDistance = in.F32();
    r.start.savedCameraDistance = in.F32();
    r.outcome = in.I32();
    r.levelTimeMs = in.I32();
    const std::uint32_t count = in.U32();
    if (!in.Ok()) return refuse("its header is cut short");
    if (r.start.lives < 0 || r.start.lives > 99) return refuse("its lives are out of range");
    if (count > kReplayMaxFrames) return refuse("it holds too many frames");
    if (in.Remaining() != std::uint64_t{count} * kFrameBytes)
        return refuse("its frames do not match its size");
    r.frames.resize(count);
    for (ReplayFrame& f : r.frames) {
        f.tick = in.I32();
        f.frameMs = in.I32();
        f.controls = in.U16();
        if (f.frameMs < 0 || (f.controls >> kReplayControlBits) != 0)
            return refuse("a frame holds impossible values");
    }
    if (!in.Ok()) return refuse("its frames are cut short");
    return LoadedValue(std::move(r));
}

Loaded<Replay> ReadReplayFile(const std::string& file) {
    const SmallFile read = ReadSmallFile(file, kReplayFileLimit);
    if (read.status == SmallFileStatus::TooLarge)
        return LoadFailure{TooLargeText("The replay " + file, kReplayFileLimit)};
    if (read.status != SmallFileStatus::Read)
        return LoadFailure{"The replay " + file + " is missing or cannot be read."};
    return DecodeReplay(read.bytes, file);
}

std::string ReplayMismatch(const Replay& replay, const std::string& programVersion,
                           std::uint64_t levelDigest) {
    if (replay.programVersion != programVersion)
        return "The replay was recorded by version " + replay.programVersion +
               " of the game; this is version " + programVersion + ".";
    if (replay.levelDigest != levelDigest)
        return "The level " + replay.levelPath + " is not the one the replay was recorded on " +
               "(digest " + DigestText(levelDigest) + ", recorded " +
               DigestText(replay.levelDigest) + ").";
    return {};
}
