#include "protocol/udp_transport.h"

#include <cstring>

#include "protocol/endpoint.h"

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

std::uint32_t GroupInNetworkOrder() {
    std::uint32_t group;
    std::memcpy(&group, GroupAddressBytes.data(), sizeof group);
    return group;
}

}  // namespace

UdpTransport::UdpTransport() : sendSocket_(OpenUdpSocket()), receiveSocket_(OpenUdpSocket()) {
    SetSocketOption(receiveSocket_, SOL_SOCKET, SO_REUSEADDR, 1);
#ifdef SO_RCVBUFFORCE
    if (SetSocketOption(receiveSocket_, SOL_SOCKET, SO_RCVBUFFORCE, ReceiveBufferBytes) != 0)
#endif
        SetSocketOption(receiveSocket_, SOL_SOCKET, SO_RCVBUF, ReceiveBufferBytes);

    // The wildcard address, so replies arrive whether an adapter answers the host or the group.
    const sockaddr_in receiveAddress = PortAddress(htonl(INADDR_ANY));
    bind(receiveSocket_, reinterpret_cast<const sockaddr*>(&receiveAddress), sizeof receiveAddress);

    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = GroupInNetworkOrder();
    membership.imr_interface.s_addr = htonl(INADDR_ANY);
    setsockopt(receiveSocket_, IPPROTO_IP, IP_ADD_MEMBERSHIP,
               reinterpret_cast<const char*>(&membership), sizeof membership);

    // With loop-back off on both sockets the host never reads its own requests.
    SetSocketOption(receiveSocket_, IPPROTO_IP, IP_MULTICAST_LOOP, 0);
    SetSocketOption(sendSocket_, IPPROTO_IP, IP_MULTICAST_LOOP, 0);
}

UdpTransport::~UdpTransport() {
    CloseSocket(sendSocket_);
    CloseSocket(receiveSocket_);
}

void UdpTransport::SendToGroup(std::span<const std::uint8_t> datagram) {
    const sockaddr_in group = PortAddress(GroupInNetworkOrder());
    sendto(sendSocket_, reinterpret_cast<const char*>(datagram.data()),
           static_cast<int>(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&group),
           sizeof group);
}

bool UdpTransport::WaitReadable(std::chrono::milliseconds timeout) {
    return lumisk::WaitReadable(receiveSocket_, timeout);
}

int UdpTransport::Receive(std::span<std::uint8_t> buffer) {
    // The sender's address is recorded as the protocol asks, but never used.
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    const auto received = recvfrom(receiveSocket_, reinterpret_cast<char*>(buffer.data()),
                                   static_cast<int>(buffer.size()), 0,
                                   reinterpret_cast<sockaddr*>(&sender), &senderLength);
    return received < 0 ? -1 : static_cast<int>(received);
}

}  // namespace lumisk
