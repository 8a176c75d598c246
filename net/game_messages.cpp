#include "net/game_messages.h"

#include "engine/angles.h"
#include "platform/byte_io.h"

namespace {

// Offsets of the fields every message shares.
constexpr std::size_t kNumberOffset = 4; // player or sentry number
constexpr std::size_t kLetterOffset = 5;
constexpr std::size_t kLevelOffset = 6;
constexpr std::size_t kValuesOffset = 8;

class BlockWriter {
  public:
    explicit BlockWriter(std::int32_t type) { put32(0, static_cast<std::uint32_t>(type)); }
    void put8(std::size_t at, std::int32_t value) { bytes_[at] = static_cast<std::uint8_t>(value); }
    void put16(std::size_t at, std::int32_t value) {
        put8(at, value & 0xFF);
        put8(at + 1, (value >> 8) & 0xFF);
    }
    void put32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void putInt(std::size_t at, std::int32_t value) {
        put32(at, static_cast<std::uint32_t>(value));
    }
    void putReal(std::size_t at, float value) { putInt(at, TruncToInt(value)); }
    const GameMessageBytes& bytes() const { return bytes_; }

  private:
    GameMessageBytes bytes_{};
};

std::int32_t readInt(std::span<const std::uint8_t> bytes, std::size_t at) {
    ByteReader in(bytes);
    in.Seek(at);
    return in.I32();
}

float readReal(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<float>(readInt(bytes, at));
}

std::int32_t readLevel(std::span<const std::uint8_t> bytes) {
    return bytes[kLevelOffset] | bytes[kLevelOffset + 1] << 8;
}

bool validPeer(std::int32_t player, const GameMessageContext& context) {
    return player >= 0 && player <= context.lastPlayer && player != context.localPlayer;
}

bool inGrid(const WorldEventMessage& event, const GameMessageContext& context) {
    return event.cellX >= 0 && event.cellX < context.sizeX && event.cellY >= 0 &&
           event.cellY < context.sizeY && event.cellZ >= 0 && event.cellZ < context.sizeZ;
}

DecodedGameMessage ignored(IgnoreReason reason) {
    return {std::nullopt, reason};
}

DecodedGameMessage decodeWorldEvent(std::span<const std::uint8_t> bytes,
                                    const GameMessageContext& context) {
    WorldEventMessage event;
    event.player = bytes[kNumberOffset];
    event.letter = static_cast<char>(bytes[kLetterOffset]);
    event.level = readLevel(bytes);
    event.cellX = readInt(bytes, 8);
    event.cellY = readInt(bytes, 12);
    event.cellZ = readInt(bytes, 16);
    event.argument = readInt(bytes, 20);
    if (event.level != context.level) return ignored(IgnoreReason::OtherLevel);
    if (!validPeer(event.player, context)) return ignored(IgnoreReason::BadPlayer);
    if (event.letter < 'd' || event.letter > 'j') return ignored(IgnoreReason::BadLetter);
    if (!inGrid(event, context)) return ignored(IgnoreReason::BadCell);
    if (event.letter == 'd' && (event.argument < 0 || event.argument > kMaxDigDelayMs))
        return ignored(IgnoreReason::BadDelay);
    if (event.letter >= 'g') {
        if (event.argument < 0 || event.argument > 255 ||
            context.takeLetter[static_cast<std::size_t>(event.argument)] != event.letter)
            return ignored(IgnoreReason::BadObjectType);
    }
    return {event};
}

} // namespace

GameMessageBytes EncodeGameMessage(const GameMessage& message) {
    struct Encoder {
        GameMessageBytes operator()(const GameStartMessage& m) const {
            BlockWriter out(kMsgGameStart);
            out.put8(kNumberOffset, m.localPlayer);
            out.put8(kLetterOffset, m.lastPlayer);
            out.putInt(kValuesOffset, m.refreshInterval);
            return out.bytes();
        }
        GameMessageBytes operator()(const PlayerStateMessage& m) const {
            BlockWriter out(kMsgPlayerState);
            out.put8(kNumberOffset, m.player);
            out.put16(kLevelOffset, m.level);
            const float values[] = {m.x, m.y, m.z, m.heading, m.vx, m.vy, m.vz, m.turnRate};
            for (std::size_t i = 0; i < 8; ++i) out.putReal(kValuesOffset + 4 * i, values[i]);
            out.putInt(40, m.pose);
            out.putInt(44, m.poseBlendMs);
            return out.bytes();
        }
        GameMessageBytes operator()(const WorldEventMessage& m) const {
            BlockWriter out(kMsgWorldEvent);
            out.put8(kNumberOffset, m.player);
            out.put8(kLetterOffset, m.letter);
            out.put16(kLevelOffset, m.level);
            out.putInt(8, m.cellX);
            out.putInt(12, m.cellY);
            out.putInt(16, m.cellZ);
            out.putInt(20, m.argument);
            return out.bytes();
        }
        GameMessageBytes operator()(const SentryPositionMessage& m) const {
            BlockWriter out(kMsgSentryPosition);
            out.put8(kNumberOffset, m.sentry);
            out.put16(kLevelOffset, m.level);
            const float values[] = {m.x, m.y, m.z, m.heading};
            for (std::size_t i = 0; i < 4; ++i) out.putReal(kValuesOffset + 4 * i, values[i]);
            return out.bytes();
        }
        GameMessageBytes operator()(const StartRequestMessage&) const {
            return BlockWriter(kMsgStartRequest).bytes();
        }
        GameMessageBytes operator()(const StartAnswerMessage&) const {
            return BlockWriter(kMsgStartAnswer).bytes();
        }
    };
    return std::visit(Encoder{}, message);
}

NetDelivery DeliveryOf(const GameMessage& message) {
    return std::holds_alternative<PlayerStateMessage>(message) ||
                   std::holds_alternative<SentryPositionMessage>(message)
               ? NetDelivery::Unreliable
               : NetDelivery::Reliable;
}

DecodedGameMessage DecodeGameMessage(std::span<const std::uint8_t> bytes,
                                     const GameMessageContext& context) {
    if (bytes.size() != kNetMessageSize) return ignored(IgnoreReason::WrongSize);
    switch (readInt(bytes, 0)) {
    case kMsgGameStart: {
        GameStartMessage start;
        start.localPlayer = bytes[kNumberOffset];
        start.lastPlayer = bytes[kLetterOffset];
        start.refreshInterval = readInt(bytes, kValuesOffset);
        if (start.lastPlayer < 1 || start.lastPlayer > kMaxNetPlayers || start.localPlayer < 1 ||
            start.localPlayer > start.lastPlayer)
            return ignored(IgnoreReason::BadLastPlayer);
        if (start.refreshInterval < 0 || start.refreshInterval > kMaxRefreshIntervalMs)
            return ignored(IgnoreReason::BadRefresh);
        return {start};
    }
    case kMsgPlayerState: {
        PlayerStateMessage state;
        state.player = bytes[kNumberOffset];
        state.level = readLevel(bytes);
        float* values[] = {&state.x,  &state.y,  &state.z,  &state.heading,
                           &state.vx, &state.vy, &state.vz, &state.turnRate};
        for (std::size_t i = 0; i < 8; ++i) *values[i] = readReal(bytes, kValuesOffset + 4 * i);
        state.pose = readInt(bytes, 40);
        state.poseBlendMs = readInt(bytes, 44);
        if (state.level != context.level) return ignored(IgnoreReason::OtherLevel);
        if (!validPeer(state.player, context)) return ignored(IgnoreReason::BadPlayer);
        if (state.pose < 0 || state.pose > kMaxPose) return ignored(IgnoreReason::BadPose);
        if (state.poseBlendMs < 0) return ignored(IgnoreReason::BadBlendTime);
        return {state};
    }
    case kMsgWorldEvent:
        return decodeWorldEvent(bytes, context);
    case kMsgStartRequest:
        return {StartRequestMessage{}};
    case kMsgStartAnswer:
        return {StartAnswerMessage{}};
    case kMsgSentryPosition: {
        SentryPositionMessage sentry;
        sentry.sentry = bytes[kNumberOffset];
        sentry.level = readLevel(bytes);
        sentry.x = readReal(bytes, 8);
        sentry.y = readReal(bytes, 12);
        sentry.z = readReal(bytes, 16);
        sentry.heading = readReal(bytes, 20);
        if (sentry.level != context.level) return ignored(IgnoreReason::OtherLevel);
        if (sentry.sentry < 1 || sentry.sentry > context.sentryCount)
            return ignored(IgnoreReason::BadSentry);
        return {sentry};
    }
    default:
        return ignored(IgnoreReason::UnknownType);
    }
}

std::string_view IgnoreReasonName(IgnoreReason reason) {
    switch (reason) {
    case IgnoreReason::WrongSize:
        return "wrongSize";
    case IgnoreReason::UnknownType:
        return "unknownType";
    case IgnoreReason::BadPlayer:
        return "badPlayer";
    case IgnoreReason::BadLastPlayer:
        return "badLastPlayer";
    case IgnoreReason::BadRefresh:
        return "badRefresh";
    case IgnoreReason::BadPose:
        return "badPose";
    case IgnoreReason::BadBlendTime:
        return "badBlendTime";
    case IgnoreReason::BadLetter:
        return "badLetter";
    case IgnoreReason::BadCell:
        return "badCell";
    case IgnoreReason::BadObjectType:
        return "badObjectType";
    case IgnoreReason::BadDelay:
        return "badDelay";
    case IgnoreReason::BadSentry:
        return "badSentry";
    case IgnoreReason::OtherLevel:
        return "otherLevel";
    case IgnoreReason::Unexpected:
        return "unexpected";
    case IgnoreReason::Count:
        break;
    }
    return "unknown";
}
