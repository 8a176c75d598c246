#include "net/portmap/upnp_mapper.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kDescription = "Kelvane";
constexpr const char* kProtocol = "UDP";

// The gateway found: its control URL and service type, freed at the end.
struct Gateway {
    UPNPUrls urls{};
    IGDdatas data{};
    char lanAddress[64] = {};
    bool found = false;

    Gateway() = default;
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;
    ~Gateway() {
        if (found) FreeUPNPUrls(&urls);
    }
};

// Finds the gateway: at the given URL alone, or by discovery.
bool findGateway(Gateway& gateway, const std::string& url, std::int32_t budgetMs,
                 std::string& failure) {
    if (!url.empty()) {
        gateway.found = UPNP_GetIGDFromUrl(url.c_str(), &gateway.urls, &gateway.data,
                                           gateway.lanAddress, sizeof gateway.lanAddress) == 1;
        if (!gateway.found) failure = "no gateway description at " + url;
    } else {
        int error = 0;
        UPNPDev* devices = upnpDiscover(std::clamp(budgetMs / 2, 100, 1000), nullptr, nullptr,
                                        UPNP_LOCAL_PORT_ANY, 0, 2, &error);
        if (!devices) {
            failure = "no UPnP gateway found";
            return false;
        }
        const int kind = UPNP_GetValidIGD(devices, &gateway.urls, &gateway.data, gateway.lanAddress,
                                          sizeof gateway.lanAddress);
        freeUPNPDevlist(devices);
        // 1: a connected gateway; 2 and 3 come with URLs to free but map nothing.
        gateway.found = kind == 1;
        if (kind != 0 && !gateway.found) FreeUPNPUrls(&gateway.urls);
        if (!gateway.found) failure = "no connected UPnP gateway found";
    }
    if (gateway.found && (!gateway.urls.controlURL || !*gateway.urls.controlURL)) {
        failure = "the gateway offers no port mapping service";
        return false;
    }
    return gateway.found;
}

} // namespace

PortMapper UpnpMapper(const std::string& descriptionUrl) {
    PortMapper mapper;
    mapper.name = "UPnP";
    mapper.map = [descriptionUrl](std::uint16_t port, std::uint32_t lifetimeS,
                                  std::int32_t budgetMs) {
        PortMappingResult result;
        Gateway gateway;
        if (!findGateway(gateway, descriptionUrl, budgetMs, result.failure)) return result;
        const char* control = gateway.urls.controlURL;
        const char* service = gateway.data.first.servicetype;
        char external[40] = {};
        if (UPNP_GetExternalIPAddress(control, service, external) == UPNPCOMMAND_SUCCESS)
            result.publicAddress.assign(external, strnlen(external, sizeof external));
        const std::string number = std::to_string(port);
        const std::string lease = std::to_string(lifetimeS);
        const int r = UPNP_AddPortMapping(control, service, number.c_str(), number.c_str(),
                                          gateway.lanAddress, kDescription, kProtocol, nullptr,
                                          lease.c_str());
        if (r != UPNPCOMMAND_SUCCESS) {
            result.failure = "the gateway refused the mapping (" + std::to_string(r) + ")";
            return result;
        }
        result.mapped = true;
        result.publicPort = port;
        // What removing needs: the control URL and the service type.
        result.handle = std::string(control) + '\n' + service;
        return result;
    };
    mapper.unmap = [](const PortMappingResult& mapped, std::uint16_t port, std::int32_t) {
        const std::size_t split = mapped.handle.find('\n');
        if (split == std::string::npos) return;
        const std::string control = mapped.handle.substr(0, split);
        const std::string service = mapped.handle.substr(split + 1);
        UPNP_DeletePortMapping(control.c_str(), service.c_str(), std::to_string(port).c_str(),
                               kProtocol, nullptr);
    };
    return mapper;
}
