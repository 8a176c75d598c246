// The NAT-PMP mapper over libnatpmp: the router's public address (op 0),
// then a UDP mapping (op 1); a lifetime of 0 removes it.
#pragma once

#include <string>

#include "net/port_mapping.h"

// The NAT-PMP port of a gateway, where it listens for requests.
constexpr std::uint16_t kNatPmpPort = 5351;

// `gateway` is "A.B.C.D" or "A.B.C.D:PORT" (a test gateway on the
// loopback); empty: the default route's gateway on kNatPmpPort. It takes at
// most half the run's budget, so that UPnP keeps time after a silent router.
PortMapper NatPmpMapper(const std::string& gateway);
