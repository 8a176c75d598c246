#include "platform/net_address.h"

#include <algorithm>
#include <cctype>

std::optional<HostPort> ParseHostPort(const std::string& text, std::uint16_t defaultPort) {
    HostPort result;
    const auto colon = text.rfind(':');
    result.host = text.substr(0, colon);
    result.port = defaultPort;
    if (colon != std::string::npos) {
        const std::string digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(),
                         [](unsigned char c) { return std::isdigit(c); }))
            return std::nullopt;
        const long port = std::stol(digits);
        if (port < 1 || port > 65535) return std::nullopt;
        result.port = static_cast<std::uint16_t>(port);
    }
    if (result.host.empty() || result.port == 0) return std::nullopt;
    return result;
}
