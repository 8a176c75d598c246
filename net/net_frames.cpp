#include "net/net_frames.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_io.h"

namespace {

constexpr std::array<std::uint8_t, 8> kProbeMagic = {'K', 'V', 'P', 'R', 'O', 'B', 'E', '1'};
constexpr std::array<std::uint8_t, 8> kReplyMagic = {'K', 'V', 'R', 'E', 'P', 'L', 'Y', '1'};

// Field sizes: the text limit plus its terminating zero.
constexpr std::size_t kPasswordField = kNetPasswordMax + 1;
constexpr std::size_t kSessionNameField = kNetSessionNameMax + 1;
constexpr std::size_t kShortNameField = kNetShortNameMax + 1;
constexpr std::size_t kLongNameField = kNetLongNameMax + 1;
constexpr std::size_t kPlayerSize = 4 + kShortNameField + kLongNameField;
constexpr std::size_t kRosterEntrySize = 4 + 4 + 2;
constexpr std::size_t kIdentitySize = 4 + 8 + 8;

// A 64-bit digest as its low and then its high 32 bits.
void writeDigest(ByteWriter& out, std::uint64_t digest) {
    out.U32(static_cast<std::uint32_t>(digest));
    out.U32(static_cast<std::uint32_t>(digest >> 32));
}

std::uint64_t readDigest(ByteReader& in) {
    const std::uint64_t low = in.U32();
    return low | std::uint64_t{in.U32()} << 32;
}

void writeIdentity(ByteWriter& out, const NetGameIdentity& identity) {
    out.U32(identity.version);
    writeDigest(out, identity.definitions);
    writeDigest(out, identity.levels);
}

NetGameIdentity readIdentity(ByteReader& in) {
    NetGameIdentity identity;
    identity.version = in.U32();
    identity.definitions = readDigest(in);
    identity.levels = readDigest(in);
    return identity;
}

void writeText(ByteWriter& out, const std::string& text, std::size_t field) {
    const std::string cut = CutText(text, field - 1);
    out.Text(cut);
    out.Zeros(field - cut.size());
}

// The text before the first zero of the field; nothing when the field has
// no zero.
std::optional<std::string> readText(ByteReader& in, std::size_t field) {
    const auto bytes = in.Bytes(field);
    if (bytes.size() != field) return std::nullopt;
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    if (end == bytes.end()) return std::nullopt;
    return std::string(bytes.begin(), end);
}

bool readMagic(ByteReader& in, const std::array<std::uint8_t, 8>& magic) {
    const auto bytes = in.Bytes(magic.size());
    return bytes.size() == magic.size() && std::equal(bytes.begin(), bytes.end(), magic.begin());
}

void writePlayer(ByteWriter& out, const NetPlayer& player) {
    out.U32(player.id);
    writeText(out, player.shortName, kShortNameField);
    writeText(out, player.longName, kLongNameField);
}

std::optional<NetPlayer> readPlayer(ByteReader& in) {
    NetPlayer player;
    player.id = in.U32();
    auto shortName = readText(in, kShortNameField);
    auto longName = readText(in, kLongNameField);
    if (!in.Ok() || !shortName || !longName) return std::nullopt;
    player.shortName = *shortName;
    player.longName = *longName;
    return player;
}

std::size_t frameSize(FrameKind kind, std::size_t players) {
    switch (kind) {
    case FrameKind::Hello:
        return 1 + 4 + kPasswordField + kShortNameField + kLongNameField + kIdentitySize;
    case FrameKind::Welcome:
        return 1 + 4 + 4 + 1 + players * kPlayerSize;
    case FrameKind::Refuse:
    case FrameKind::PlayerRemoved:
        return 1 + 4;
    case FrameKind::PlayerAdded:
        return 1 + kPlayerSize;
    case FrameKind::Data:
        return 1 + 4 + 4 + kNetMessageSize;
    case FrameKind::Roster:
        return 1 + 4 + 1 + players * kRosterEntrySize;
    case FrameKind::Rejoin:
        return 1 + 4 + 4;
    }
    return 0;
}

} // namespace

std::string CutText(const std::string& text, std::size_t maxChars) {
    return text.size() <= maxChars ? text : text.substr(0, maxChars);
}

std::vector<std::uint8_t> EncodeProbe(const std::string& password) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.Bytes(kProbeMagic);
    writeText(out, password, kPasswordField);
    return bytes;
}

std::optional<std::string> ParseProbe(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kProbeSize) return std::nullopt;
    ByteReader in(bytes);
    if (!readMagic(in, kProbeMagic)) return std::nullopt;
    return readText(in, kPasswordField);
}

std::vector<std::uint8_t> EncodeProbeReply(const ProbeReply& reply) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.Bytes(kReplyMagic);
    out.U32(reply.sessionId);
    out.U16(reply.port);
    out.U8(reply.players);
    out.U8(reply.maxPlayers);
    writeText(out, reply.name, kSessionNameField);
    writeIdentity(out, reply.identity);
    return bytes;
}

std::optional<ProbeReply> ParseProbeReply(std::span<const std::uint8_t> bytes) {
    const bool withIdentity = bytes.size() == kProbeReplySize;
    if (!withIdentity && bytes.size() != kProbeReplySizeWithoutIdentity) return std::nullopt;
    ByteReader in(bytes);
    if (!readMagic(in, kReplyMagic)) return std::nullopt;
    ProbeReply reply;
    reply.sessionId = in.U32();
    reply.port = in.U16();
    reply.players = in.U8();
    reply.maxPlayers = in.U8();
    auto name = readText(in, kSessionNameField);
    if (withIdentity)
        reply.identity = readIdentity(in);
    else
        reply.identity = {kNetProtocolBeforeIdentity, 0, 0};
    if (!in.Ok() || !name) return std::nullopt;
    // A session has an id, a port and its host among its players.
    if (reply.sessionId == 0 || reply.port == 0 || reply.players == 0 ||
        reply.players > reply.maxPlayers)
        return std::nullopt;
    reply.name = *name;
    return reply;
}

ControlFrame DataFrame(std::uint32_t id, std::span<const std::uint8_t> message,
                       std::uint32_t sequence) {
    ControlFrame frame;
    frame.kind = FrameKind::Data;
    frame.id = id;
    frame.sequence = sequence;
    std::copy_n(message.begin(), std::min(message.size(), kNetMessageSize), frame.message.begin());
    return frame;
}

std::vector<std::uint8_t> EncodeFrame(const ControlFrame& frame) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.U8(static_cast<std::uint8_t>(frame.kind));
    switch (frame.kind) {
    case FrameKind::Hello:
        out.U32(frame.sessionId);
        writeText(out, frame.password, kPasswordField);
        writeText(out, frame.player.shortName, kShortNameField);
        writeText(out, frame.player.longName, kLongNameField);
        writeIdentity(out, frame.identity);
        break;
    case FrameKind::Welcome: {
        const std::size_t count = std::min(frame.players.size(), kMaxWelcomePlayers);
        out.U32(frame.sessionId);
        out.U32(frame.id);
        out.U8(static_cast<std::uint8_t>(count));
        for (std::size_t i = 0; i < count; ++i) writePlayer(out, frame.players[i]);
        break;
    }
    case FrameKind::Refuse:
    case FrameKind::PlayerRemoved:
        out.U32(frame.id);
        break;
    case FrameKind::PlayerAdded:
        writePlayer(out, frame.player);
        break;
    case FrameKind::Data:
        out.U32(frame.id);
        out.U32(frame.sequence);
        out.Bytes(frame.message);
        break;
    case FrameKind::Roster: {
        const std::size_t count = std::min(frame.roster.size(), kMaxRosterEntries);
        out.U32(frame.sessionId);
        out.U8(static_cast<std::uint8_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            out.U32(frame.roster[i].id);
            out.Bytes(frame.roster[i].address);
            out.U16(frame.roster[i].port);
        }
        break;
    }
    case FrameKind::Rejoin:
        out.U32(frame.sessionId);
        out.U32(frame.id);
        break;
    }
    return bytes;
}

std::optional<ControlFrame> ParseFrame(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return std::nullopt;
    ByteReader in(bytes);
    ControlFrame frame;
    const std::uint8_t kind = in.U8();
    if (kind < 1 || kind > 8) return std::nullopt;
    frame.kind = static_cast<FrameKind>(kind);
    std::size_t players = 0;
    if (frame.kind == FrameKind::Welcome) {
        if (bytes.size() < frameSize(FrameKind::Welcome, 0)) return std::nullopt;
        players = bytes[9];
        if (players > kMaxWelcomePlayers) return std::nullopt;
    } else if (frame.kind == FrameKind::Roster) {
        if (bytes.size() < frameSize(FrameKind::Roster, 0)) return std::nullopt;
        players = bytes[5];
        if (players > kMaxRosterEntries) return std::nullopt;
    }
    if (bytes.size() != frameSize(frame.kind, players)) return std::nullopt;

    switch (frame.kind) {
    case FrameKind::Hello: {
        frame.sessionId = in.U32();
        auto password = readText(in, kPasswordField);
        auto shortName = readText(in, kShortNameField);
        auto longName = readText(in, kLongNameField);
        frame.identity = readIdentity(in);
        if (!password || !shortName || !longName) return std::nullopt;
        frame.password = *password;
        frame.player.shortName = *shortName;
        frame.player.longName = *longName;
        break;
    }
    case FrameKind::Welcome:
        frame.sessionId = in.U32();
        frame.id = in.U32();
        in.U8();
        for (std::size_t i = 0; i < players; ++i) {
            auto player = readPlayer(in);
            if (!player) return std::nullopt;
            frame.players.push_back(*player);
        }
        break;
    case FrameKind::Refuse:
    case FrameKind::PlayerRemoved:
        frame.id = in.U32();
        break;
    case FrameKind::PlayerAdded: {
        auto player = readPlayer(in);
        if (!player) return std::nullopt;
        frame.player = *player;
        break;
    }
    case FrameKind::Data: {
        frame.id = in.U32();
        frame.sequence = in.U32();
        const auto message = in.Bytes(kNetMessageSize);
        if (message.size() != kNetMessageSize) return std::nullopt;
        std::copy(message.begin(), message.end(), frame.message.begin());
        break;
    }
    case FrameKind::Roster:
        frame.sessionId = in.U32();
        in.U8();
        for (std::size_t i = 0; i < players; ++i) {
            RosterEntry entry;
            entry.id = in.U32();
            const auto address = in.Bytes(entry.address.size());
            if (address.size() != entry.address.size()) return std::nullopt;
            std::copy(address.begin(), address.end(), entry.address.begin());
            entry.port = in.U16();
            // Every listed player has an id and a port to be reached on.
            if (entry.id == 0 || entry.port == 0) return std::nullopt;
            frame.roster.push_back(entry);
        }
        break;
    case FrameKind::Rejoin:
        frame.sessionId = in.U32();
        frame.id = in.U32();
        if (frame.id == 0) return std::nullopt;
        break;
    }
    if (!in.Ok()) return std::nullopt;
    return frame;
}
