// The transport's own datagrams: the discovery probe and its reply, and the
// control frames between a joiner and the host. Fixed layouts, every text in a
// fixed field that must hold its terminating zero; parsers accept only a
// datagram of exactly the expected length and refuse everything else.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/net_transport.h"

constexpr std::size_t kProbeSize = 24;
// A reply ends with the host's game identity: protocol version, then the
// digests of its definitions and of its level list. A reply without it (the
// length before the identity was added) comes from a host of protocol 1.
constexpr std::size_t kProbeReplySize = 68;
constexpr std::size_t kProbeReplySizeWithoutIdentity = 48;
constexpr std::uint32_t kNetProtocolBeforeIdentity = 1;

struct ProbeReply {
    std::uint32_t sessionId = 0;
    std::uint16_t port = 0;
    std::uint8_t players = 0;
    std::uint8_t maxPlayers = 0;
    std::string name;
    NetGameIdentity identity = {};
};

std::vector<std::uint8_t> EncodeProbe(const std::string& password);
// The password of a well-formed probe.
std::optional<std::string> ParseProbe(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> EncodeProbeReply(const ProbeReply& reply);
std::optional<ProbeReply> ParseProbeReply(std::span<const std::uint8_t> bytes);

enum class FrameKind : std::uint8_t {
    Hello = 1,         // joiner to host: password, names and game identity
    Welcome = 2,       // host to joiner: session id, its player id, the players present
    Refuse = 3,        // host to joiner: a result code; the host then disconnects
    PlayerAdded = 4,   // host to joiners
    PlayerRemoved = 5, // host to joiners
    Data = 6,          // a message: to a player (joiner to host) or from one (host to joiner)
    Roster = 7,        // host to joiners once the game starts: where each player can be reached
    Rejoin = 8,        // joiner to the player taking over from a host that left
};

// The most players a roster lists.
constexpr std::size_t kMaxRosterEntries = 16;

// Where a player of the session can be reached: an IPv4 address and port as
// the host saw its connection.
struct RosterEntry {
    std::uint32_t id = 0;
    std::array<std::uint8_t, 4> address{};
    std::uint16_t port = 0;
    bool operator==(const RosterEntry&) const = default;
};

// The most players a welcome lists.
constexpr std::size_t kMaxWelcomePlayers = 64;

struct ControlFrame {
    FrameKind kind = FrameKind::Data;
    std::uint32_t id = 0;        // Welcome, Rejoin: the joiner's id; Refuse: the code;
                                 // Data: to/from; PlayerRemoved: the player
    std::uint32_t sessionId = 0; // Hello, Welcome, Roster, Rejoin
    // Data: the sender's number for a reliable message (1, 2, ... in the order
    // sent), so that a message sent again after a change of host is applied
    // once; 0 for a message that may be lost.
    std::uint32_t sequence = 0;
    std::string password;                                // Hello
    NetPlayer player;                                    // Hello (names only), PlayerAdded
    NetGameIdentity identity = {};                       // Hello
    std::vector<NetPlayer> players;                      // Welcome
    std::array<std::uint8_t, kNetMessageSize> message{}; // Data
    std::vector<RosterEntry> roster;                     // Roster
};

// A data frame carrying `message` (kNetMessageSize bytes; shorter is padded
// with zeros, longer cut) to or from the player `id`.
ControlFrame DataFrame(std::uint32_t id, std::span<const std::uint8_t> message,
                       std::uint32_t sequence = 0);
std::vector<std::uint8_t> EncodeFrame(const ControlFrame& frame);
std::optional<ControlFrame> ParseFrame(std::span<const std::uint8_t> bytes);

// `text` cut to `maxChars` characters (bytes).
std::string CutText(const std::string& text, std::size_t maxChars);
