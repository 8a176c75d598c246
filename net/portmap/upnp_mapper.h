// The UPnP IGD mapper over miniupnpc: the gateway's device description, its
// external address, then AddPortMapping; DeletePortMapping removes it.
#pragma once

#include <string>

#include "net/port_mapping.h"

// `descriptionUrl` is the gateway's device description
// ("http://127.0.0.1:PORT/rootDesc.xml" for a test gateway), used as it is
// without any discovery. Empty: the gateway is discovered on the local
// network (SSDP multicast), within the budget.
PortMapper UpnpMapper(const std::string& descriptionUrl);
