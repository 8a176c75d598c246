#include "shell/qt/net_providers.h"

#include "net/portmap/natpmp_mapper.h"
#include "net/portmap/upnp_mapper.h"
#include "shell/form_services.h"
#include "shell/recent_hosts.h"

EnetOptions EnetOptionsFor(const GameOptions& options) {
    const NetRunOptions& net = options.net;
    EnetOptions enet;
    if (!net.broadcastAddress.empty()) enet.broadcastAddress = net.broadcastAddress;
    if (net.discoveryPort) enet.discoveryPort = *net.discoveryPort;
    enet.bindAddress = net.bindAddress;
    if (net.port) enet.port = *net.port;
    enet.directAddress = net.address;
    enet.lossPercent = net.lossPercent;
    enet.delayMs = net.delayMs;
    if (options.seed) enet.seed = *options.seed;
    return enet;
}

std::vector<NetProvider> GameNetProviders(const GameOptions& options) {
    std::vector<NetProvider> providers = EnetProviders(EnetOptionsFor(options));
    if (!options.net.address.empty()) return providers;
    for (NetProvider& provider : providers) {
        if (provider.name != "Direct address") continue;
        EnetOptions direct = EnetOptionsFor(options);
        direct.lan = false;
        provider.open = [direct]() mutable -> std::unique_ptr<NetTransport> {
            if (const auto answer =
                    FormAskText("Direct address", "host[:port]", "", LoadRecentHosts()))
                direct.directAddress = *answer;
            return std::make_unique<EnetTransport>(direct);
        };
    }
    return providers;
}

std::vector<PortMapper> GamePortMappers(const GameOptions& options) {
    const NetRunOptions& net = options.net;
    const bool pointed = !net.gateway.empty() || !net.upnpUrl.empty();
    std::vector<PortMapper> mappers;
    if (!pointed || !net.gateway.empty()) mappers.push_back(NatPmpMapper(net.gateway));
    if (!pointed || !net.upnpUrl.empty()) mappers.push_back(UpnpMapper(net.upnpUrl));
    return mappers;
}
