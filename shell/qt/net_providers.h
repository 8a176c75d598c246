// The game's transports: the ENet providers set up from the command line.
#pragma once

#include <vector>

#include "net/enet/enet_transport.h"
#include "shell/game_options.h"

// The transport's options from the network options (what is not given keeps
// the transport's default) and --seed for the loss of incoming datagrams.
EnetOptions EnetOptionsFor(const GameOptions& options);

// "LAN (broadcast)" and "Direct address". Without --net-address the direct
// provider asks for "host[:port]" when it is opened, offering the addresses
// last joined (the newest pre-filled); a cancelled prompt leaves it without
// an address, so listing finds no session.
std::vector<NetProvider> GameNetProviders(const GameOptions& options);
