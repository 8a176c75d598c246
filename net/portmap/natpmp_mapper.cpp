#include "net/portmap/natpmp_mapper.h"

#include <arpa/inet.h>
#include <natpmp.h>
#include <sys/select.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>

#include "platform/net_address.h"

namespace {

using Clock = std::chrono::steady_clock;

// Asking: a gateway that answers on the loopback and a slow real router get
// the same handling; the library resends on its own schedule (250 ms, then
// doubling) and we stop at the deadline.
struct Asking {
    natpmp_t pmp{};
    bool open = false;
    Clock::time_point deadline;
    std::string failure;

    ~Asking() {
        if (open) closenatpmp(&pmp);
    }
};

std::string errorText(int code) {
    switch (code) {
    case NATPMP_ERR_NOGATEWAYSUPPORT:
        return "the gateway does not answer NAT-PMP";
    case NATPMP_ERR_CANNOTGETGATEWAY:
        return "no default gateway";
    case NATPMP_ERR_NOTAUTHORIZED:
        return "the gateway refused (not authorised)";
    case NATPMP_ERR_NETWORKFAILURE:
        return "the gateway has no public address yet";
    case NATPMP_ERR_OUTOFRESOURCES:
        return "the gateway has no mapping left";
    case NATPMP_ERR_UNSUPPORTEDOPCODE:
        return "the gateway does not map ports";
    default:
        return "NAT-PMP error " + std::to_string(code);
    }
}

// Opens the socket towards the gateway. libnatpmp always aims at port
// 5351; a given port is set by connecting its socket again.
bool openTowards(Asking& asking, const std::string& gateway) {
    int forced = 0;
    in_addr_t address = 0;
    std::uint16_t port = kNatPmpPort;
    if (!gateway.empty()) {
        const auto parsed = ParseHostPort(gateway, kNatPmpPort);
        in_addr numeric{};
        if (!parsed || inet_pton(AF_INET, parsed->host.c_str(), &numeric) != 1) {
            asking.failure = "the gateway '" + gateway + "' is no IPv4 address";
            return false;
        }
        forced = 1;
        address = numeric.s_addr;
        port = parsed->port;
    }
    const int r = initnatpmp(&asking.pmp, forced, address);
    asking.open = r == 0 || asking.pmp.s > 0;
    if (r < 0) {
        asking.failure = errorText(r);
        return false;
    }
    if (port != kNatPmpPort) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = asking.pmp.gateway;
        if (connect(asking.pmp.s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
            asking.failure = "cannot reach the gateway";
            return false;
        }
    }
    return true;
}

// Waits for the answer to the request just sent, resending as the library
// asks, until the deadline.
bool awaitAnswer(Asking& asking, natpmpresp_t& response) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(asking.deadline - Clock::now())
                .count();
        if (left <= 0) {
            asking.failure = "no answer";
            return false;
        }
        timeval wait{};
        getnatpmprequesttimeout(&asking.pmp, &wait);
        const std::int64_t retryUs =
            std::max<std::int64_t>(0, std::int64_t{wait.tv_sec} * 1000000 + wait.tv_usec);
        const std::int64_t us = std::min<std::int64_t>(left, retryUs);
        wait.tv_sec = static_cast<time_t>(us / 1000000);
        wait.tv_usec = static_cast<suseconds_t>(us % 1000000);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(asking.pmp.s, &readable);
        select(asking.pmp.s + 1, &readable, nullptr, nullptr, &wait);
        const int r = readnatpmpresponseorretry(&asking.pmp, &response);
        if (r == NATPMP_TRYAGAIN) continue;
        if (r < 0) {
            asking.failure = errorText(r);
            return false;
        }
        return true;
    }
}

PortMappingResult mapPort(const std::string& gateway, std::uint16_t port, std::uint32_t lifetimeS,
                          std::int32_t budgetMs) {
    PortMappingResult result;
    Asking asking;
    asking.deadline = Clock::now() + std::chrono::milliseconds(budgetMs);
    natpmpresp_t response{};
    if (!openTowards(asking, gateway) || sendpublicaddressrequest(&asking.pmp) < 0 ||
        !awaitAnswer(asking, response)) {
        result.failure = asking.failure.empty() ? "cannot send to the gateway" : asking.failure;
        return result;
    }
    char text[INET_ADDRSTRLEN] = {};
    if (response.type == NATPMP_RESPTYPE_PUBLICADDRESS &&
        inet_ntop(AF_INET, &response.pnu.publicaddress.addr, text, sizeof text))
        result.publicAddress = text;
    if (sendnewportmappingrequest(&asking.pmp, NATPMP_PROTOCOL_UDP, port, port, lifetimeS) < 0 ||
        !awaitAnswer(asking, response)) {
        result.failure = asking.failure.empty() ? "cannot send to the gateway" : asking.failure;
        return result;
    }
    if (response.type != NATPMP_RESPTYPE_UDPPORTMAPPING ||
        response.pnu.newportmapping.privateport != port ||
        response.pnu.newportmapping.mappedpublicport == 0) {
        result.failure = "the gateway answered another request";
        return result;
    }
    result.mapped = true;
    result.publicPort = response.pnu.newportmapping.mappedpublicport;
    return result;
}

void unmapPort(const std::string& gateway, std::uint16_t port, std::int32_t budgetMs) {
    Asking asking;
    asking.deadline = Clock::now() + std::chrono::milliseconds(budgetMs);
    natpmpresp_t response{};
    // A lifetime of 0 with public port 0 removes the mapping of `port`.
    if (openTowards(asking, gateway) &&
        sendnewportmappingrequest(&asking.pmp, NATPMP_PROTOCOL_UDP, port, 0, 0) >= 0)
        awaitAnswer(asking, response);
}

} // namespace

PortMapper NatPmpMapper(const std::string& gateway) {
    PortMapper mapper;
    mapper.name = "NAT-PMP";
    mapper.shareMs = kPortMappingBudgetMs / 2;
    mapper.map = [gateway](std::uint16_t port, std::uint32_t lifetimeS, std::int32_t budgetMs) {
        return mapPort(gateway, port, lifetimeS, budgetMs);
    };
    mapper.unmap = [gateway](const PortMappingResult&, std::uint16_t port, std::int32_t budgetMs) {
        unmapPort(gateway, port, budgetMs);
    };
    return mapper;
}
