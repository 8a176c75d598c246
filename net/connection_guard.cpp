#include "net/connection_guard.h"

#include <algorithm>

void ConnectionGuard::Connected(int connection, const std::string& address, std::size_t members,
                                std::int64_t nowMs, std::vector<int>& drop) {
    forget(connection); // the transport reuses a slot only once it is free
    strangers_.push_back({connection, address, nowMs + limits_.helloTimeoutMs});
    if (limits_.perAddress > 0)
        while (StrangersFrom(address) > limits_.perAddress) {
            dropOldest(&address, drop);
            ++counts_.sameAddress;
        }
    // The newest stranger gets its chance to say hello; the oldest has had
    // the longest.
    if (limits_.slots > 0)
        while (!strangers_.empty() &&
               members + strangers_.size() + limits_.keepFree > limits_.slots) {
            dropOldest(nullptr, drop);
            ++counts_.madeRoom;
        }
}

void ConnectionGuard::Expire(std::int64_t nowMs, std::vector<int>& drop) {
    const auto late = [nowMs](const Stranger& s) { return s.deadline <= nowMs; };
    for (const Stranger& s : strangers_)
        if (late(s)) {
            drop.push_back(s.connection);
            ++counts_.silent;
        }
    std::erase_if(strangers_, late);
}

void ConnectionGuard::OutOfPlace(int connection) {
    forget(connection);
    ++counts_.outOfPlace;
}

void ConnectionGuard::Refused(int connection, std::int64_t nowMs) {
    for (Stranger& s : strangers_)
        if (s.connection == connection) {
            s.deadline = nowMs + limits_.refusalGraceMs;
            s.refused = true;
        }
}

bool ConnectionGuard::IsStranger(int connection) const {
    return std::any_of(strangers_.begin(), strangers_.end(),
                       [connection](const Stranger& s) { return s.connection == connection; });
}

bool ConnectionGuard::WasRefused(int connection) const {
    return std::any_of(strangers_.begin(), strangers_.end(), [connection](const Stranger& s) {
        return s.connection == connection && s.refused;
    });
}

std::size_t ConnectionGuard::StrangersFrom(const std::string& address) const {
    return static_cast<std::size_t>(
        std::count_if(strangers_.begin(), strangers_.end(),
                      [&address](const Stranger& s) { return s.address == address; }));
}

void ConnectionGuard::forget(int connection) {
    std::erase_if(strangers_,
                  [connection](const Stranger& s) { return s.connection == connection; });
}

void ConnectionGuard::dropOldest(const std::string* address, std::vector<int>& drop) {
    const auto oldest = std::find_if(strangers_.begin(), strangers_.end(), [&](const Stranger& s) {
        return !address || s.address == *address;
    });
    if (oldest == strangers_.end()) return;
    drop.push_back(oldest->connection);
    strangers_.erase(oldest);
}
