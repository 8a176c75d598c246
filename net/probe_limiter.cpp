#include "net/probe_limiter.h"

#include <algorithm>

namespace {

constexpr std::int64_t kCreditPerReply = 1000;

} // namespace

ProbeLimiter::Bucket ProbeLimiter::Full(const ProbeRate& rate, std::int64_t nowMs) {
    return {rate.burst * kCreditPerReply, nowMs};
}

void ProbeLimiter::Refill(Bucket& bucket, const ProbeRate& rate, std::int64_t nowMs) {
    if (nowMs <= bucket.at) return; // a clock that stands or steps back adds nothing
    // perSecond replies a second are perSecond thousandths a millisecond.
    const std::int64_t elapsed = std::min<std::int64_t>(nowMs - bucket.at, 1'000'000'000);
    bucket.credit =
        std::min(bucket.credit + elapsed * rate.perSecond, rate.burst * kCreditPerReply);
    bucket.at = nowMs;
}

bool ProbeLimiter::Allow(const std::string& sender, std::int64_t nowMs) {
    if (!started_) {
        total_ = Full(limits_.total, nowMs);
        started_ = true;
    }
    Refill(total_, limits_.total, nowMs);
    if (total_.credit < kCreditPerReply) { // a flood costs no look-up
        ++refused_;
        return false;
    }

    auto found = senders_.find(sender);
    if (found == senders_.end()) {
        if (senders_.size() >= limits_.maxSenders) forgetQuietSenders(nowMs);
        if (senders_.size() >= limits_.maxSenders) {
            ++refused_;
            return false;
        }
        found = senders_.emplace(sender, Full(limits_.perSender, nowMs)).first;
    }
    Bucket& own = found->second;
    Refill(own, limits_.perSender, nowMs);
    if (own.credit < kCreditPerReply) {
        ++refused_;
        return false;
    }
    own.credit -= kCreditPerReply;
    total_.credit -= kCreditPerReply;
    ++answered_;
    return true;
}

void ProbeLimiter::forgetQuietSenders(std::int64_t nowMs) {
    // A sender whose bucket has filled again is as good as new.
    for (auto entry = senders_.begin(); entry != senders_.end();) {
        Refill(entry->second, limits_.perSender, nowMs);
        if (entry->second.credit >= limits_.perSender.burst * kCreditPerReply)
            entry = senders_.erase(entry);
        else
            ++entry;
    }
}
