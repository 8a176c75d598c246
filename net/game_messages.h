// The game's messages as 260-byte blocks, and back. Decoding checks every
// value a peer controls against what the receiver knows (its players, grid,
// sentries, object types, level) before anything uses it; a message that
// fails is ignored with a reason, for the counters. Values are little-endian;
// coordinates, angles and velocities travel as integers truncated toward zero
// (saturated, NaN as 0); unused bytes are zero. Messages 11, 12 and 16 carry
// the sender's level index in bytes 6 and 7, so that a machine that has moved
// on to another level does not apply them to the wrong grid.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "net/net_transport.h"

using GameMessageBytes = std::array<std::uint8_t, kNetMessageSize>;

constexpr std::int32_t kMsgGameStart = 10;
constexpr std::int32_t kMsgPlayerState = 11;
constexpr std::int32_t kMsgWorldEvent = 12;
constexpr std::int32_t kMsgStartRequest = 13;
constexpr std::int32_t kMsgStartAnswer = 14;
constexpr std::int32_t kMsgSentryPosition = 16;

// Limits of what a peer may send.
constexpr std::int32_t kMaxNetPlayers = 4; // the highest lastPlayer: five records, 0 to 4
constexpr std::int32_t kMaxPose = 10;
constexpr std::int32_t kMaxDigDelayMs = 3600000;
constexpr std::int32_t kMaxRefreshIntervalMs = 10000;

struct GameStartMessage {
    std::int32_t localPlayer = 0; // the receiver's number
    std::int32_t lastPlayer = 0;
    std::int32_t refreshInterval = 0;
};

struct PlayerStateMessage {
    std::int32_t player = 0;
    std::int32_t level = 0;
    float x = 0, y = 0, z = 0, heading = 0;
    float vx = 0, vy = 0, vz = 0, turnRate = 0;
    std::int32_t pose = 0;
    std::int32_t poseBlendMs = 0;
};

struct WorldEventMessage {
    std::int32_t player = 0;
    char letter = 0; // 'd' to 'j'
    std::int32_t level = 0;
    std::int32_t cellX = 0, cellY = 0, cellZ = 0;
    std::int32_t argument = 0;
};

struct SentryPositionMessage {
    std::int32_t sentry = 0; // from 1
    std::int32_t level = 0;
    float x = 0, y = 0, z = 0, heading = 0;
};

struct StartRequestMessage {};
struct StartAnswerMessage {};

using GameMessage = std::variant<GameStartMessage, PlayerStateMessage, WorldEventMessage,
                                 SentryPositionMessage, StartRequestMessage, StartAnswerMessage>;

GameMessageBytes EncodeGameMessage(const GameMessage& message);
// Reliable and ordered for the start handshake and world events; the state
// sent every interval may be lost, a newer one follows.
NetDelivery DeliveryOf(const GameMessage& message);

// Why a message was ignored.
enum class IgnoreReason : std::uint8_t {
    WrongSize,
    UnknownType,
    BadPlayer,     // outside 0..lastPlayer, or the receiver's own number
    BadLastPlayer, // outside 1..4, or the receiver's number outside 1..lastPlayer
    BadRefresh,    // outside 0..10000 ms
    BadPose,       // outside 0..10
    BadBlendTime,  // negative
    BadLetter,     // not 'd' to 'j'
    BadCell,       // outside the grid
    BadObjectType, // outside 0..255, undefined, or not a thing that letter takes
    BadDelay,      // a dig's refill delay outside 0..3600000 ms
    BadSentry,     // 0 or above the number of sentries
    OtherLevel,    // sent from another level
    Unexpected,    // a start message in the wrong phase or from the wrong sender, a
                   // second answer, or a play message before the game has started
    Count
};
std::string_view IgnoreReasonName(IgnoreReason reason);

// What the receiver knows to check a message against.
struct GameMessageContext {
    std::int32_t localPlayer = 0;
    std::int32_t lastPlayer = 0;
    std::int32_t level = 0;
    std::int32_t sizeX = 0, sizeY = 0, sizeZ = 0;
    std::int32_t sentryCount = 0;
    // For each object type, the event letter that taking it sends ('g' to
    // 'j'), or 0 for a type that cannot be taken or is not defined.
    std::array<char, 256> takeLetter{};
};

struct DecodedGameMessage {
    std::optional<GameMessage> message;
    IgnoreReason reason = IgnoreReason::Count; // when no message
};

DecodedGameMessage DecodeGameMessage(std::span<const std::uint8_t> bytes,
                                     const GameMessageContext& context);

// Counts of messages sent, received and ignored by reason.
struct GameMessageCounters {
    std::uint32_t sent = 0;
    std::uint32_t received = 0;
    std::array<std::uint32_t, static_cast<std::size_t>(IgnoreReason::Count)> ignored{};
    void Ignore(IgnoreReason reason) { ++ignored[static_cast<std::size_t>(reason)]; }
    std::uint32_t Ignored(IgnoreReason reason) const {
        return ignored[static_cast<std::size_t>(reason)];
    }
};
