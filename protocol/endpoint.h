#pragma once
// The protocol endpoint: the UDP socket every request leaves and every reply arrives through, the
// host's address, and the ClientId stamped into every request. The endpoint serves every network
// card that can multicast, each with a ClientId of its own: the six random bytes are shared, the
// address is the card's.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

using ClientIdBytes = std::array<std::uint8_t, ClientIdSize>;

// The host's address and its ClientId. Each opening of the endpoint sets them, in place of those
// of an endpoint open already; nothing else changes them, and a close, or an opening that fails,
// leaves them as they were.
extern char HostAddressText[IpTextSize];
extern std::uint8_t ClientId[ClientIdSize];

// Why the endpoint could not be opened.
struct EndpointFailure {
    enum class Kind {
        SocketLibrary,  // the socket library did not start
        NoAddress,      // no usable IPv4 address, or no card with the address asked for
        PortInUse,      // another socket holds UDP port 13579
        Socket,         // the socket could not be created, bound or set up
    };
    Kind kind;
    std::string message;
};

// Starts the socket library, sets up the host identity and opens the socket, in place of an
// endpoint open already. The reason it could not, or nothing on success. With `onlyCard`, the
// endpoint serves that card alone and takes its address as the host's. Nothing is ever sent
// through an endpoint that could not be opened.
std::optional<EndpointFailure> TryOpenEndpoint(
    const std::optional<Ipv4Bytes>& onlyCard = std::nullopt);

// Closes the socket, then stops the socket library. Reports nothing.
void CloseEndpoint();

bool IsEndpointOpen();

// True when bytes 1..10 of the datagram equal the ClientId of one of the cards served; a datagram
// shorter than 11 bytes never does.
bool MatchesClientId(std::span<const std::uint8_t> datagram);

// True when bytes 1..10 of the datagram equal `clientId`.
bool CarriesClientId(std::span<const std::uint8_t> datagram, const ClientIdBytes& clientId);

// The ClientId for a host address: six bytes drawn from a generator seeded with `seed`, then
// the address.
ClientIdBytes MakeClientId(unsigned seed, const Ipv4Bytes& hostAddress);

// The ClientId of requests through the card with the address `card`.
ClientIdBytes ClientIdThrough(const Ipv4Bytes& card);

// The addresses of the cards to search through; where none can be listed, the host's address.
using CardSource = std::function<std::vector<Ipv4Bytes>()>;

// Takes the cards as they are now and makes the group's datagrams arrive through each: the
// addresses of the cards served from now on. Every search starts with it.
const std::vector<Ipv4Bytes>& RefreshEndpointCards();

// The card whose ClientId the datagram carries, among the cards served; none when it carries
// none of ours.
std::optional<Ipv4Bytes> CardOfReply(std::span<const std::uint8_t> datagram);

struct DeviceRecord;
// The card an adapter answered through; the host's address for a record no search made.
Ipv4Bytes CardOf(const DeviceRecord& device);

// Opens the endpoint over the given transport and clock with the given identity: the seam
// through which tests run the protocol without sockets or real time. Without a card source the
// endpoint serves the ClientId's address alone.
void AttachEndpoint(std::unique_ptr<DatagramTransport> transport, Clock& clock,
                    const ClientIdBytes& clientId, CardSource cards = {});

// What the search and the exchanges talk through. While the endpoint is closed, a transport
// that sends nothing and never has a datagram to read.
DatagramTransport& EndpointTransport();
Clock& EndpointClock();

}  // namespace lumisk
