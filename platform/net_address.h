// "host[:port]" as the player types it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct HostPort {
    std::string host;
    std::uint16_t port = 0;
};

// The host and the port (`defaultPort` when none is given); nothing for an
// empty host or a port that is not a number from 1 to 65535.
std::optional<HostPort> ParseHostPort(const std::string& text, std::uint16_t defaultPort);
