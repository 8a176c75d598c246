// The host's watch over connections that have not (yet) said a valid hello:
// each has a deadline to say it, at most a few come from one address, and
// the transport always keeps one slot free for the next joiner, so that
// connections that never speak cannot lock players out. Times are
// milliseconds of a steady clock the caller passes in; nothing here reads a
// clock or the network.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GuardLimits {
    // Connections the transport holds at once, players and strangers alike
    // (0: no limit known, no slot kept free).
    std::size_t slots = 0;
    // Slots left free after every new connection, for connections still
    // being made (the transport takes a slot before the guard hears of it).
    std::size_t keepFree = 1;
    std::int64_t helloTimeoutMs = 3000;
    // Strangers from one address at once; a further one pushes out the oldest.
    std::size_t perAddress = 2;
    // A refused connection's time to take its refusal and go.
    std::int64_t refusalGraceMs = 2000;
};

// Strangers dropped, by cause.
struct StrangerDrops {
    std::uint32_t silent = 0;      // no valid hello in time (or a refusal not taken)
    std::uint32_t outOfPlace = 0;  // sent something other than a hello
    std::uint32_t madeRoom = 0;    // the oldest, to keep a slot free
    std::uint32_t sameAddress = 0; // the oldest of an address with too many
};

class ConnectionGuard {
  public:
    explicit ConnectionGuard(const GuardLimits& limits = {}) : limits_(limits) {}

    // A new connection from `address` while `members` connections are
    // players; appends the connections to drop at once (perhaps older ones).
    void Connected(int connection, const std::string& address, std::size_t members,
                   std::int64_t nowMs, std::vector<int>& drop);
    // The connections whose deadline has passed, to drop at once.
    void Expire(std::int64_t nowMs, std::vector<int>& drop);
    // A stranger that spoke out of place, to drop at once.
    void OutOfPlace(int connection);
    // A valid hello was taken: the connection is a player now.
    void Admitted(int connection) { forget(connection); }
    // A hello was refused: the connection has a short grace to go.
    void Refused(int connection, std::int64_t nowMs);
    // The connection is gone.
    void Gone(int connection) { forget(connection); }

    bool IsStranger(int connection) const;
    bool WasRefused(int connection) const;
    std::size_t Strangers() const { return strangers_.size(); }
    std::size_t StrangersFrom(const std::string& address) const;
    const StrangerDrops& Dropped() const { return counts_; }
    const GuardLimits& Limits() const { return limits_; }

  private:
    struct Stranger {
        int connection = 0;
        std::string address;
        std::int64_t deadline = 0;
        bool refused = false;
    };
    void forget(int connection);
    // Drops the oldest stranger (of `address`, when given).
    void dropOldest(const std::string* address, std::vector<int>& drop);

    GuardLimits limits_;
    std::vector<Stranger> strangers_; // in order of arrival: the oldest first
    StrangerDrops counts_;
};
