// How often the host answers discovery probes: a token bucket for each
// sender and one for all of them, so that nobody can make the host a
// reflector of replies. Times are milliseconds of a steady clock the caller
// passes in; nothing here reads a clock or the network.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

struct ProbeRate {
    std::int64_t burst = 0;     // replies at once, after a quiet spell
    std::int64_t perSecond = 0; // replies a second after that
};

struct ProbeLimits {
    // A lister probes four times a second; a few listers may share an address.
    ProbeRate perSender{16, 8};
    ProbeRate total{64, 64};
    // Senders remembered at once; a new one beyond finds no answer until
    // older ones have been quiet long enough to be forgotten.
    std::size_t maxSenders = 256;
};

class ProbeLimiter {
  public:
    explicit ProbeLimiter(const ProbeLimits& limits = {}) : limits_(limits) {}

    // Whether a probe from `sender` gets a reply now; counts it either way.
    bool Allow(const std::string& sender, std::int64_t nowMs);

    std::uint64_t Answered() const { return answered_; }
    std::uint64_t Refused() const { return refused_; }
    std::size_t SendersRemembered() const { return senders_.size(); }

  private:
    // Credit in thousandths of a reply, as of `at`.
    struct Bucket {
        std::int64_t credit = 0;
        std::int64_t at = 0;
    };
    static Bucket Full(const ProbeRate& rate, std::int64_t nowMs);
    static void Refill(Bucket& bucket, const ProbeRate& rate, std::int64_t nowMs);
    void forgetQuietSenders(std::int64_t nowMs);

    ProbeLimits limits_;
    bool started_ = false;
    Bucket total_;
    std::unordered_map<std::string, Bucket> senders_;
    std::uint64_t answered_ = 0;
    std::uint64_t refused_ = 0;
};
