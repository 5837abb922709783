#pragma once
// The real protocol socket: bound to UDP port 13579 for this process alone, it sends every
// request to 224.0.0.1:13579 through the card it names and reads every reply, a group member on
// every card. Requests leave from the port the adapters reply to, so a firewall that lets in
// replies to a host's own requests lets theirs in.

#include <memory>
#include <variant>
#include <vector>

#include "protocol/datagram_transport.h"
#include "protocol/endpoint.h"
#include "protocol/socket_api.h"

namespace lumisk {

class UdpTransport final : public DatagramTransport {
public:
    // Opens and binds the socket. No other socket may share the port (no address reuse, and on
    // Windows exclusive use), so a second program never receives a reply meant for this one.
    // The transport, or why it could not be opened.
    static std::variant<std::unique_ptr<UdpTransport>, EndpointFailure> Open();
    // Closes the socket.
    ~UdpTransport() override;

    UdpTransport(const UdpTransport&) = delete;
    UdpTransport& operator=(const UdpTransport&) = delete;

    void SendToGroup(std::span<const std::uint8_t> datagram, const Ipv4Bytes& card) override;
    void JoinGroupOn(std::span<const Ipv4Bytes> cards) override;
    bool WaitReadable(std::chrono::milliseconds timeout) override;
    int Receive(std::span<std::uint8_t> buffer) override;

private:
    explicit UdpTransport(SocketHandle socket) : socket_(socket) {}

    SocketHandle socket_;
    std::vector<Ipv4Bytes> joined_;
};

}  // namespace lumisk
