#pragma once
// The host's own IPv4 address, as the ClientId and the subnet test carry it.

#include <optional>

#include "protocol/ip_text.h"

namespace lumisk {

// The first IPv4 address that resolving the host name gives. Where that is a loopback address,
// or one no interface of this host holds (Debian maps the host name to 127.0.1.1; on Windows it
// is often a stale answer of the name service, or a card of a virtual machine, WSL or a VPN that
// is down), the first non-loopback IPv4 address of an interface that is up. None at all: no
// value.
std::optional<Ipv4Bytes> FindHostAddress();

}  // namespace lumisk
