#include "net/host_migration.h"

#include <algorithm>

std::uint32_t ElectHost(std::span<const std::uint32_t> ids) {
    std::uint32_t lowest = 0;
    for (const std::uint32_t id : ids)
        if (id != 0 && (lowest == 0 || id < lowest)) lowest = id;
    return lowest;
}

void HostMigration::Arm(std::uint32_t localId, std::span<const RosterEntry> roster) {
    armed_ = localId != 0;
    localId_ = localId;
    roster_.assign(roster.begin(), roster.end());
}

MigrationStep HostMigration::HostLost(std::span<const std::uint32_t> others, std::int64_t nowMs) {
    remaining_.clear();
    for (const std::uint32_t id : others)
        if (id != 0 && id != localId_ &&
            std::find(remaining_.begin(), remaining_.end(), id) == remaining_.end())
            remaining_.push_back(id);
    ++migrations_;
    return elect(nowMs);
}

MigrationStep HostMigration::elect(std::int64_t nowMs) {
    MigrationStep step;
    for (;;) {
        std::vector<std::uint32_t> ids = remaining_;
        ids.push_back(localId_);
        host_ = ElectHost(ids);
        if (host_ == localId_) {
            phase_ = MigrationPhase::Hosting;
            step.kind = MigrationStep::Kind::Host;
            step.target = host_;
            return step;
        }
        const auto entry = std::find_if(roster_.begin(), roster_.end(),
                                        [&](const RosterEntry& e) { return e.id == host_; });
        remaining_.erase(std::find(remaining_.begin(), remaining_.end(), host_));
        if (entry == roster_.end()) {
            // Nobody knows where it is: it cannot host.
            step.gone.push_back(host_);
            continue;
        }
        phase_ = MigrationPhase::Connecting;
        deadline_ = nowMs + kConnectMs;
        step.kind = MigrationStep::Kind::Connect;
        step.target = host_;
        step.address = *entry;
        return step;
    }
}

void HostMigration::ConnectionMade(std::int64_t nowMs) {
    if (phase_ == MigrationPhase::Connecting) deadline_ = nowMs + kAnswerMs;
}

void HostMigration::Rejoined() {
    if (phase_ != MigrationPhase::Connecting) return;
    phase_ = MigrationPhase::Following;
}

MigrationStep HostMigration::CandidateLost(std::int64_t nowMs) {
    if (phase_ != MigrationPhase::Connecting) return {};
    const std::uint32_t lost = host_;
    MigrationStep step = elect(nowMs);
    step.gone.insert(step.gone.begin(), lost);
    return step;
}

std::uint32_t SentHistory::Record(std::uint32_t to, std::span<const std::uint8_t> message) {
    const std::uint32_t sequence = next_++;
    if (next_ == 0) next_ = 1; // 0 marks a message that is never filtered
    kept_.push_back({to, sequence, std::vector<std::uint8_t>(message.begin(), message.end())});
    while (kept_.size() > kKept) kept_.pop_front();
    return sequence;
}

bool SequenceFilter::Accept(std::uint32_t sender, std::uint32_t sequence) {
    if (sequence == 0) return true;
    std::uint32_t& last = last_[sender];
    if (sequence <= last) {
        ++repeats_;
        return false;
    }
    last = sequence;
    return true;
}
