// The game's transports: the ENet providers set up from the command line.
#pragma once

#include <vector>

#include "net/enet/enet_transport.h"
#include "net/port_mapping.h"
#include "shell/game_options.h"

// The transport's options from the network options (what is not given keeps
// the transport's default) and --seed for the loss of incoming datagrams.
EnetOptions EnetOptionsFor(const GameOptions& options);

// "LAN (broadcast)" and "Direct address". Without --net-address the direct
// provider asks for "host[:port]" when it is opened, offering the addresses
// last joined (the newest pre-filled); a cancelled prompt leaves it without
// an address, so listing finds no session.
std::vector<NetProvider> GameNetProviders(const GameOptions& options);

// The ways a created game asks the router, in order: NAT-PMP, then UPnP.
// With --net-gateway or --net-upnp-url only the gateways given are asked,
// and nothing is discovered: a run pointed at a test gateway never reaches
// the real router, nor sends anything to the multicast group.
std::vector<PortMapper> GamePortMappers(const GameOptions& options);
