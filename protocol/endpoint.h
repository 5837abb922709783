#pragma once
// The protocol endpoint: the two UDP sockets every request leaves and every reply arrives
// through, the host's address, and the ClientId stamped into every request.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "protocol/clock.h"
#include "protocol/datagram_transport.h"
#include "protocol/ip_text.h"

namespace lumisk {

// The same port for requests and replies, on the program's side and the adapters'.
inline constexpr std::uint16_t ProtocolPort = 13579;
inline constexpr Ipv4Bytes GroupAddressBytes = {224, 0, 0, 1};
inline constexpr std::size_t ClientIdSize = 10;
// ClientId bytes 0..5 are random; bytes 6..9 are the host address, first octet first.
inline constexpr std::size_t ClientIdAddressOffset = 6;

// Set by OpenEndpoint and never changed afterwards.
extern char HostAddressText[IpTextSize];
extern std::uint8_t ClientId[ClientIdSize];

// Starts the socket library, sets up the host identity and opens both sockets. When the socket
// library does not start or the host has no usable IPv4 address, the process ends with status 1.
void OpenEndpoint();

// OpenEndpoint for callers that report the failure themselves: the reason, or nothing on success.
std::optional<std::string> TryOpenEndpoint();

// Closes SendSocket, then ReceiveSocket, then stops the socket library. Reports nothing.
void CloseEndpoint();

bool IsEndpointOpen();

// True when bytes 1..10 of the datagram equal ClientId; a datagram shorter than 11 bytes never
// does.
bool MatchesClientId(std::span<const std::uint8_t> datagram);

// The ClientId for a host address: six bytes drawn from a generator seeded with `seed`, then
// the address.
std::array<std::uint8_t, ClientIdSize> MakeClientId(unsigned seed, const Ipv4Bytes& hostAddress);

// Opens the endpoint over the given transport and clock with the given identity: the seam
// through which tests run the protocol without sockets or real time.
void AttachEndpoint(std::unique_ptr<DatagramTransport> transport, Clock& clock,
                    const std::array<std::uint8_t, ClientIdSize>& clientId);

// What the search and the exchanges talk through. While the endpoint is closed, a transport
// that sends nothing and never has a datagram to read.
DatagramTransport& EndpointTransport();
Clock& EndpointClock();

}  // namespace lumisk
