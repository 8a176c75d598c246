// The router port mapping of a game this machine hosts: whether to ask, the
// mappers the window installs, the run started when a game is created and
// ended with the session, the lobby's line and the state-dump keys.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "net/port_mapping.h"

// The ways of asking the router, in the order they are tried (the window
// installs them at start-up; none: every attempt fails at once).
void InstallPortMappers(std::vector<PortMapper> mappers);

// Whether a created game asks the router: the lobby's check box, which
// starts from kelv.ini's Network/PortMapping in a window and off in a
// headless run, unless --net-port-mapping says otherwise.
bool InitialPortMappingChoice();

// A game was created on `port` after a click at `clickedAt`: the mapping is
// asked for when chosen, and the time the creation took is kept for the
// dump (net.createMs), showing that nothing waited for the router.
void StartRouterMapping(std::uint16_t port, bool chosen,
                        std::chrono::steady_clock::time_point clickedAt);
// Once a frame: takes the run's answer; true when the lobby's line changed.
bool PollRouterMapping();
// The end of the session: the mapping removed (waits briefly for the router).
void EndRouterMapping();

// The lobby's line: the public address to give to friends, or what to forward
// by hand; empty before a game is created.
std::string RouterMappingLine();
// net.portMapping, net.publicAddress and the details, one key a line.
std::string DescribeRouterMapping();
