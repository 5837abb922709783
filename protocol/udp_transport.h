#pragma once
// The real protocol sockets: SendSocket sends every request to 224.0.0.1:13579 through the card
// it names, ReceiveSocket reads every reply on port 13579 and is a group member on every card.

#include <vector>

#include "protocol/datagram_transport.h"
#include "protocol/socket_api.h"

namespace lumisk {

class UdpTransport final : public DatagramTransport {
public:
    // Creates and configures both sockets. Failures are not detected here: a socket that could
    // not be set up simply never delivers a reply.
    UdpTransport();
    // Closes SendSocket, then ReceiveSocket.
    ~UdpTransport() override;

    UdpTransport(const UdpTransport&) = delete;
    UdpTransport& operator=(const UdpTransport&) = delete;

    void SendToGroup(std::span<const std::uint8_t> datagram, const Ipv4Bytes& card) override;
    void JoinGroupOn(std::span<const Ipv4Bytes> cards) override;
    bool WaitReadable(std::chrono::milliseconds timeout) override;
    int Receive(std::span<std::uint8_t> buffer) override;

private:
    SocketHandle sendSocket_;
    SocketHandle receiveSocket_;
    std::vector<Ipv4Bytes> joined_;
};

}  // namespace lumisk
