#pragma once
// The workstation's network cards as the protocol sees them: the IPv4 addresses of the
// interfaces that are up and not loopback.

#include <vector>

#include "protocol/ip_text.h"

namespace lumisk {

struct NetworkCard {
    Ipv4Bytes address;
    bool multicast;  // the card can send and receive group datagrams
};

// Every IPv4 address of an interface that is up and not loopback, in the system's order; empty
// when the system cannot list them.
std::vector<NetworkCard> ListNetworkCards();

// The addresses of those cards that can multicast, each once.
std::vector<Ipv4Bytes> ListMulticastCards();

}  // namespace lumisk
