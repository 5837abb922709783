#include "protocol/udp_transport.h"

#include <algorithm>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace lumisk {
namespace {

// Room for a burst of a few hundred search replies between two polls.
constexpr int ReceiveBufferBytes = 4 * 1024 * 1024;

sockaddr_in PortAddress(std::uint32_t addressInNetworkOrder) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(ProtocolPort);
    address.sin_addr.s_addr = addressInNetworkOrder;
    return address;
}

std::uint32_t InNetworkOrder(const Ipv4Bytes& address) {
    std::uint32_t value;
    std::memcpy(&value, address.data(), sizeof value);
    return value;
}

int SetAddressOption(SocketHandle socket, int name, const void* value, int size) {
    return setsockopt(socket, IPPROTO_IP, name, static_cast<const char*>(value), size);
}

// Membership of the group on the card, or on the system's choice of card when the card's address
// is not one of this host's (the host address alone, where no card could be listed).
void ChangeMembership(SocketHandle socket, int name, const Ipv4Bytes& card) {
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = InNetworkOrder(GroupAddressBytes);
    membership.imr_interface.s_addr = InNetworkOrder(card);
    if (SetAddressOption(socket, name, &membership, sizeof membership) != 0 &&
        name == IP_ADD_MEMBERSHIP) {
        membership.imr_interface.s_addr = htonl(INADDR_ANY);
        SetAddressOption(socket, name, &membership, sizeof membership);
    }
}

}  // namespace

std::variant<std::unique_ptr<UdpTransport>, EndpointFailure> UdpTransport::Open() {
    // Called right after the step failed, before anything else can change the error.
    const auto failure = [](const char* step) {
        const int error = LastSocketError();
        const std::string port = "UDP port " + std::to_string(ProtocolPort);
        if (IsAddressInUse(error)) {
            return EndpointFailure{EndpointFailure::Kind::PortInUse,
                                   port +
                                       " is in use by another program, or another copy of "
                                       "this one"};
        }
        return EndpointFailure{EndpointFailure::Kind::Socket,
                               port + ": " + step + " failed: " + SocketErrorText(error)};
    };
    const SocketHandle socket = OpenUdpSocket();
    if (socket == InvalidSocket) {
        return failure("creating the socket");
    }
    std::unique_ptr<UdpTransport> transport(new UdpTransport(socket));
#ifdef _WIN32
    // Without it Windows lets a socket that asks for address reuse take over the port.
    if (SetSocketOption(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, 1) != 0) {
        return failure("taking it for this program alone");
    }
#endif
    // Room for a burst of replies only: a smaller buffer is no reason not to open.
#ifdef SO_RCVBUFFORCE
    if (SetSocketOption(socket, SOL_SOCKET, SO_RCVBUFFORCE, ReceiveBufferBytes) != 0)
#endif
        SetSocketOption(socket, SOL_SOCKET, SO_RCVBUF, ReceiveBufferBytes);

    // The wildcard address, so replies arrive whether an adapter answers the host or the group.
    const sockaddr_in address = PortAddress(htonl(INADDR_ANY));
    if (bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return failure("binding");
    }
    // Loop-back off: the host never reads its own requests (Linux applies it to what the socket
    // sends, Windows to what it receives; one socket does both).
    if (SetSocketOption(socket, IPPROTO_IP, IP_MULTICAST_LOOP, 0) != 0) {
        return failure("turning multicast loop-back off");
    }
    return transport;
}

UdpTransport::~UdpTransport() {
    CloseSocket(socket_);
}

void UdpTransport::SendToGroup(std::span<const std::uint8_t> datagram, const Ipv4Bytes& card) {
    in_addr through{};
    through.s_addr = InNetworkOrder(card);
    if (SetAddressOption(socket_, IP_MULTICAST_IF, &through, sizeof through) != 0) {
        through.s_addr = htonl(INADDR_ANY);
        SetAddressOption(socket_, IP_MULTICAST_IF, &through, sizeof through);
    }
    const sockaddr_in group = PortAddress(InNetworkOrder(GroupAddressBytes));
    sendto(socket_, reinterpret_cast<const char*>(datagram.data()),
           static_cast<int>(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&group),
           sizeof group);
}

void UdpTransport::JoinGroupOn(std::span<const Ipv4Bytes> cards) {
    for (const Ipv4Bytes& card : joined_) {
        if (std::ranges::find(cards, card) == cards.end()) {
            ChangeMembership(socket_, IP_DROP_MEMBERSHIP, card);
        }
    }
    for (const Ipv4Bytes& card : cards) {
        if (std::ranges::find(joined_, card) == joined_.end()) {
            ChangeMembership(socket_, IP_ADD_MEMBERSHIP, card);
        }
    }
    joined_.assign(cards.begin(), cards.end());
}

bool UdpTransport::WaitReadable(std::chrono::milliseconds timeout) {
    return lumisk::WaitReadable(socket_, timeout);
}

int UdpTransport::Receive(std::span<std::uint8_t> buffer) {
    // The sender's address is recorded as the protocol asks, but never used.
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    const auto received =
        recvfrom(socket_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()),
                 0, reinterpret_cast<sockaddr*>(&sender), &senderLength);
    return received < 0 ? -1 : static_cast<int>(received);
}

}  // namespace lumisk
