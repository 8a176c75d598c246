// The transport under the network session: sessions with a name, a player
// limit and a password; players numbered by the host (0 addresses everyone);
// 260-byte messages from one player to one or all others, relayed by the
// host; and the host's own notifications of players joining and leaving.
// The ENet implementation lives in net/enet/, a fake for tests in
// tests/support/. Nothing here uses a network library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "net/game_identity.h"

// Result codes of our transport, shown by the session's failure messages in
// hexadecimal ("Open Failed :8B4E0004"). Zero is success.
constexpr std::uint32_t kNetOk = 0;
constexpr std::uint32_t kNetNoProvider = 0x8B4E0001;       // no provider of that name
constexpr std::uint32_t kNetBindFailed = 0x8B4E0002;       // a socket could not be opened or bound
constexpr std::uint32_t kNetConnectTimedOut = 0x8B4E0003;  // the host did not answer in time
constexpr std::uint32_t kNetSessionFull = 0x8B4E0004;      // the session has its player limit
constexpr std::uint32_t kNetSessionClosed = 0x8B4E0005;    // the game has started: no new players
constexpr std::uint32_t kNetWrongPassword = 0x8B4E0006;    // the session's password differs
constexpr std::uint32_t kNetNoSuchSession = 0x8B4E0007;    // not listed, or the host runs another
constexpr std::uint32_t kNetDifferentVersion = 0x8B4E0008; // the host speaks another protocol
constexpr std::uint32_t kNetDifferentLevels = 0x8B4E0009;  // the host's level list differs
constexpr std::uint32_t kNetDifferentDefinitions = 0x8B4E000A; // the host's definitions differ

// Every message of the session is exactly this long.
constexpr std::size_t kNetMessageSize = 260;
// The most sessions one listing keeps.
constexpr std::size_t kNetMaxSessions = 64;
// Text limits of the session, without the terminating zero.
constexpr std::size_t kNetSessionNameMax = 31;
constexpr std::size_t kNetPasswordMax = 15;
constexpr std::size_t kNetShortNameMax = 19;
constexpr std::size_t kNetLongNameMax = 51;

// Channel 0 is reliable and ordered; channel 1 unreliable and sequenced
// (a late datagram is dropped rather than applied after a newer one).
enum class NetDelivery : std::uint8_t { Reliable = 0, Unreliable = 1 };

struct NetPlayer {
    std::uint32_t id = 0;
    std::string shortName;
    std::string longName;
};

struct NetSessionInfo {
    std::uint32_t id = 0; // 0: any session found at the address
    std::string name;
    std::string host; // numeric address the host answered from
    std::uint16_t port = 0;
    std::uint8_t players = 0;
    std::uint8_t maxPlayers = 0;
    // What the host plays, as its discovery reply said; unknown (not
    // compared) for a session reached by address.
    bool identityKnown = false;
    NetGameIdentity identity = {};
};

struct NetSessionParams {
    std::string name;
    std::string password;
    std::int32_t maxPlayers = 2;
    NetGameIdentity identity = {}; // joiners with another are turned away
};

struct NetEvent {
    // HostChanged: the host left during play and `player` hosts from now on.
    enum class Kind : std::uint8_t { PlayerAdded, PlayerRemoved, Message, HostChanged };
    Kind kind = Kind::Message;
    NetPlayer player;               // the player added, removed or now hosting, or the sender
    std::vector<std::uint8_t> data; // the message
};

// What a host turned away: connections dropped before they became players,
// by cause, and discovery probes left unanswered for their rate.
struct NetGuardCounts {
    std::uint32_t silent = 0;      // no valid hello in time
    std::uint32_t outOfPlace = 0;  // sent something other than a hello
    std::uint32_t madeRoom = 0;    // the oldest stranger, to keep a slot free
    std::uint32_t sameAddress = 0; // the oldest stranger of a crowded address
    std::uint64_t probesAnswered = 0;
    std::uint64_t probesRefused = 0;
};

// Bytes of datagrams the transport sent and received (its own headers
// included), and whether it compresses what it sends.
struct NetTraffic {
    std::uint64_t bytesSent = 0;
    std::uint64_t bytesReceived = 0;
    bool compressed = false;
};

// A failed create or join, and whether it failed while opening the session
// or while the host was taking the local player in.
struct NetResult {
    std::uint32_t code = kNetOk;
    bool inPlayerCreation = false;
    bool Ok() const { return code == kNetOk; }
};

class NetTransport {
  public:
    virtual ~NetTransport() = default;

    // Blocks for up to timeoutMs of real time, collecting the sessions that
    // answer (at most kNetMaxSessions).
    virtual std::uint32_t ListSessions(const std::string& password, std::int32_t timeoutMs,
                                       std::vector<NetSessionInfo>& sessions) = 0;
    // Hosts a session with `local` as its first player.
    virtual NetResult CreateSession(const NetSessionParams& params, const NetPlayer& local,
                                    std::uint32_t& localId) = 0;
    // Blocks (real time) until the host takes the player in or refuses;
    // `others` gets the players already in the session.
    virtual NetResult JoinSession(const NetSessionInfo& session, const std::string& password,
                                  const NetPlayer& local, std::uint32_t& localId,
                                  std::vector<NetPlayer>& others) = 0;
    // Sends one message to a player, or to all others with `to` 0. Safe to
    // call while another thread is in Wait.
    virtual void Send(std::uint32_t to, std::span<const std::uint8_t> message,
                      NetDelivery delivery) = 0;
    // Waits up to maxMs for traffic and appends what arrived, in order.
    virtual void Wait(std::int32_t maxMs, std::vector<NetEvent>& events) = 0;
    // On the host: refuse new players from now on and stop answering probes.
    virtual void CloseToNewPlayers() = 0;
    // On the host: what it turned away so far (nothing, for a transport
    // that guards nothing).
    virtual NetGuardCounts GuardCounts() const { return {}; }
    // What the local machine plays: said in the hello of a join and compared
    // with every hello by a host. Set before creating or joining.
    virtual void SetGameIdentity(const NetGameIdentity& identity) { (void)identity; }
    // The traffic so far (nothing, for a transport that does not count).
    virtual NetTraffic Traffic() const { return {}; }
    // On the host: the UDP port the session listens on (0: none, or a
    // transport without ports).
    virtual std::uint16_t GamePort() const { return 0; }
    // Leaves at once: the peers see the local player (or, on the host, the
    // whole session) go without waiting for a time-out.
    virtual void Leave() = 0;
};

// A named way of reaching other players ("LAN (broadcast)", "Direct address").
struct NetProvider {
    std::string name;
    std::function<std::unique_ptr<NetTransport>()> open;
};
