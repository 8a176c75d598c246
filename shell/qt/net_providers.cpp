#include "shell/qt/net_providers.h"

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
