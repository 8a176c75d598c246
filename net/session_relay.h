// The host's side of a session, without the network: who is in, who may
// join, and where each message goes. Joiners reach each other only through
// the host, which names every message's sender after the connection it came
// on, never after anything the message says. A connection that is not a
// player must say a valid hello in time and nothing else (ConnectionGuard).
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "net/connection_guard.h"
#include "net/host_migration.h"
#include "net/net_frames.h"
#include "net/net_transport.h"

// A frame the host sends on one connection; `disconnect` closes the
// connection once the frame is out. With no frame, `disconnect` drops the
// connection at once, waiting for nothing.
struct RelayOutput {
    int connection = 0;
    std::vector<std::uint8_t> frame;
    NetDelivery delivery = NetDelivery::Reliable;
    bool disconnect = false;
};

class SessionRelay {
  public:
    static constexpr std::uint32_t kHostId = 1;

    // `hostId`: the host's own player id (another than kHostId when a joiner
    // takes over from a host that left).
    SessionRelay(const NetSessionParams& params, const NetPlayer& host, std::uint32_t sessionId,
                 const GuardLimits& limits = {}, std::uint32_t hostId = kHostId);

    // Taking over from a host that left: no new players, the `members` may
    // come back (with a rejoin frame) until `deadlineMs`, and those that do
    // not are gone then. `applied` is what the host's player had applied from
    // each sender, so that messages sent again are applied once.
    void ExpectRejoins(const std::vector<NetPlayer>& members, std::int64_t deadlineMs,
                       const SequenceFilter& applied);
    // The players taken back since the last call.
    std::vector<std::uint32_t> TakeRejoined();
    // Where each player can be reached, from its connection's address.
    struct Connection {
        int connection = 0;
        std::uint32_t id = 0;
    };
    std::vector<Connection> Members() const;
    std::uint32_t HostId() const { return host_.id; }
    // A roster frame of these entries for this session.
    ControlFrame Roster(std::vector<RosterEntry> entries) const;

    // A new connection from `address`, at `nowMs` of a steady clock; older
    // strangers may be dropped to keep a slot free.
    void Connected(int connection, const std::string& address, std::int64_t nowMs,
                   std::vector<RelayOutput>& out);
    // Drops the strangers whose time to say hello has run out.
    void Tick(std::int64_t nowMs, std::vector<RelayOutput>& out);
    // And, after a change of host, the players that did not come back in
    // time leave (their leaving goes to `local` as well).
    void Tick(std::int64_t nowMs, std::vector<RelayOutput>& out, std::vector<NetEvent>& local);
    // A frame from a connection; what the host's own player receives goes to
    // `local`. A stranger's frame other than a hello drops it.
    void Receive(int connection, std::span<const std::uint8_t> bytes, NetDelivery delivery,
                 std::vector<RelayOutput>& out, std::vector<NetEvent>& local);
    void Disconnected(int connection, std::vector<RelayOutput>& out, std::vector<NetEvent>& local);
    // A message of the host's own player.
    void SendFromHost(std::uint32_t to, std::span<const std::uint8_t> message, NetDelivery delivery,
                      std::vector<RelayOutput>& out, std::uint32_t sequence = 0) const;

    void Close() { open_ = false; }
    bool Open() const { return open_; }
    bool PasswordMatches(const std::string& password) const;
    ProbeReply Describe(std::uint16_t port) const;
    std::uint32_t SessionId() const { return sessionId_; }
    // The host and the joiners.
    std::size_t PlayerCount() const { return members_.size() + 1; }
    // Frames that were malformed or not expected from their connection.
    std::uint32_t DroppedFrames() const { return dropped_; }
    // Connections that are not players (yet), and those dropped.
    std::size_t Strangers() const { return guard_.Strangers(); }
    const StrangerDrops& StrangersDropped() const { return guard_.Dropped(); }

  private:
    struct Member {
        int connection = 0;
        NetPlayer player;
    };
    void admit(int connection, const ControlFrame& hello, std::vector<RelayOutput>& out,
               std::vector<NetEvent>& local);
    void refuse(int connection, std::uint32_t code, std::vector<RelayOutput>& out);
    void rejoin(int connection, const ControlFrame& frame, std::vector<RelayOutput>& out);
    void relay(const Member& sender, const ControlFrame& data, NetDelivery delivery,
               std::vector<RelayOutput>& out, std::vector<NetEvent>& local);

    NetSessionParams params_;
    NetPlayer host_;
    std::uint32_t sessionId_;
    std::uint32_t nextId_ = kHostId + 1;
    std::vector<Member> members_;
    bool open_ = true;
    std::uint32_t dropped_ = 0;
    ConnectionGuard guard_;
    std::int64_t now_ = 0;            // the latest time told
    std::vector<NetPlayer> expected_; // may come back after a change of host
    std::int64_t rejoinDeadline_ = 0;
    std::vector<std::uint32_t> rejoined_;
    // What went to the others while a player was awaited, for it to hear
    // once it is back.
    std::map<std::uint32_t, std::vector<ControlFrame>> missed_;
    SequenceFilter applied_;
};
