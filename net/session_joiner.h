// A joiner's side of a session, without the network: the hello it sends, the
// host's answer, and the host's frames turned into events.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "net/host_migration.h"
#include "net/net_frames.h"
#include "net/net_transport.h"

// The host's answer to a hello: still waiting, refused with a code, or in.
struct JoinAnswer {
    bool answered = false;
    std::uint32_t code = kNetOk;
    std::uint32_t localId = 0;
    std::vector<NetPlayer> others;
};

class SessionJoiner {
  public:
    std::vector<std::uint8_t> Hello(std::uint32_t sessionId, const std::string& password,
                                    const NetPlayer& local, const NetGameIdentity& identity) const;
    // Any frame from the host before the answer; others than Welcome and
    // Refuse are kept for Receive's events, in order.
    JoinAnswer Answer(std::span<const std::uint8_t> bytes, std::uint32_t sessionId);
    // A frame from the host once in the session.
    void Receive(std::span<const std::uint8_t> bytes, std::vector<NetEvent>& events);
    // The host is gone: every other player leaves with it.
    void HostLost(std::vector<NetEvent>& events);
    // The host `hostId` is gone but the others stay (the session finds a new
    // host); their ids.
    std::vector<std::uint32_t> HostLeft(std::uint32_t hostId, std::vector<NetEvent>& events);
    // One of the others is gone (it could not take over as host).
    void PlayerGone(std::uint32_t id, std::vector<NetEvent>& events);
    // The frame asking the player taking over to take this one back.
    std::vector<std::uint8_t> Rejoin() const;

    // The roster the host sent, and whether one came since the last call.
    const std::vector<RosterEntry>& Roster() const { return roster_; }
    bool TakeRosterUpdate();
    std::uint32_t LocalId() const { return localId_; }
    std::uint32_t SessionId() const { return sessionId_; }
    const std::vector<NetPlayer>& Others() const { return players_; }
    // The last message number applied from each sender.
    const SequenceFilter& Sequences() const { return sequences_; }
    // Frames that were malformed or unexpected.
    std::uint32_t DroppedFrames() const { return dropped_; }

  private:
    std::vector<NetPlayer> players_; // the others, as the host told
    std::uint32_t localId_ = 0;
    std::uint32_t sessionId_ = 0;
    std::uint32_t dropped_ = 0;
    std::vector<RosterEntry> roster_;
    bool rosterUpdated_ = false;
    SequenceFilter sequences_;
};
