// What a joiner does when its host leaves during play, without the network:
// the players still in the session agree on the lowest player id as the new
// host (ids are given in the order players joined, so it is also the lowest
// player number), each connects to it at the address the old host gave in
// its roster and asks to be taken back, and a candidate that cannot be
// reached is counted gone and the next one elected. Every machine also keeps
// the reliable messages it sent lately, numbered, so that it can send them
// again to the new host: a message that was in flight when the host went is
// not lost, and one that arrived already is applied once (receivers keep the
// last number applied from each sender). Times are milliseconds of a steady
// clock the caller passes in.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "net/net_frames.h"
#include "net/net_transport.h"

// The lowest id of `ids` that is not 0 (0 when none).
std::uint32_t ElectHost(std::span<const std::uint32_t> ids);

enum class MigrationPhase : std::uint8_t {
    Following,  // in the session with a host (or not armed)
    Connecting, // the host left: asking the candidate to take us back
    Hosting,    // the host left and this machine hosts now
};

// What the transport does next.
struct MigrationStep {
    enum class Kind : std::uint8_t { None, Host, Connect };
    Kind kind = Kind::None;
    std::uint32_t target = 0; // Connect: the candidate
    RosterEntry address;      // Connect: where it is reached
    // Candidates found without an address on the way: gone from the session.
    std::vector<std::uint32_t> gone;
};

class HostMigration {
  public:
    // A connection to the candidate must be made within this time; once made,
    // the candidate may still be waiting to notice the old host's loss (a
    // host that crashed is noticed only when its connection times out), so
    // the answer may take much longer.
    static constexpr std::int64_t kConnectMs = 3000;
    static constexpr std::int64_t kAnswerMs = 35000;

    // The roster the host gave when the game started: from now on the session
    // outlives its host. A later roster replaces it.
    void Arm(std::uint32_t localId, std::span<const RosterEntry> roster);
    bool Armed() const { return armed_; }

    // The host is gone; `others` are the other players still in the session,
    // the host not among them.
    MigrationStep HostLost(std::span<const std::uint32_t> others, std::int64_t nowMs);
    // The connection to the candidate is made: now it has long to answer.
    void ConnectionMade(std::int64_t nowMs);
    // The candidate took this machine in: it is the host from now on.
    void Rejoined();
    // The candidate cannot be reached (its connection failed, closed or ran
    // out of time): it is counted gone and the next one is elected.
    MigrationStep CandidateLost(std::int64_t nowMs);
    // Whether the candidate has run out of time.
    bool Overdue(std::int64_t nowMs) const {
        return phase_ == MigrationPhase::Connecting && nowMs >= deadline_;
    }

    MigrationPhase Phase() const { return phase_; }
    // The player hosting, or being asked to host while connecting.
    std::uint32_t Host() const { return host_; }
    // The other players still expected in the session.
    const std::vector<std::uint32_t>& Remaining() const { return remaining_; }
    // How many times the session changed host.
    std::uint32_t Migrations() const { return migrations_; }

  private:
    MigrationStep elect(std::int64_t nowMs);

    bool armed_ = false;
    std::uint32_t localId_ = 0;
    std::vector<RosterEntry> roster_;
    std::vector<std::uint32_t> remaining_;
    MigrationPhase phase_ = MigrationPhase::Following;
    std::uint32_t host_ = 0;
    std::int64_t deadline_ = 0;
    std::uint32_t migrations_ = 0;
};

// The reliable messages one machine sent lately, with their numbers.
struct SentMessage {
    std::uint32_t to = 0;
    std::uint32_t sequence = 0;
    std::vector<std::uint8_t> message;
};

class SentHistory {
  public:
    static constexpr std::size_t kKept = 256;
    // The next number for a reliable message; the message is kept.
    std::uint32_t Record(std::uint32_t to, std::span<const std::uint8_t> message);
    const std::deque<SentMessage>& Messages() const { return kept_; }

  private:
    std::deque<SentMessage> kept_;
    std::uint32_t next_ = 1;
};

// The last number applied from each sender: a message numbered no higher is
// one that arrived before.
class SequenceFilter {
  public:
    // True (and remembered) when the message is new; messages numbered 0
    // are never filtered.
    bool Accept(std::uint32_t sender, std::uint32_t sequence);
    const std::map<std::uint32_t, std::uint32_t>& Last() const { return last_; }
    void Assume(const std::map<std::uint32_t, std::uint32_t>& last) { last_ = last; }
    std::uint32_t Repeats() const { return repeats_; }

  private:
    std::map<std::uint32_t, std::uint32_t> last_;
    std::uint32_t repeats_ = 0;
};
