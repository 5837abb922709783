#pragma once
// The protocol socket as the search and the exchanges use it. The real one is UDP
// (udp_transport.h); unit tests put a scripted one in its place.

#include <chrono>
#include <cstdint>
#include <span>

#include "protocol/ip_text.h"

namespace lumisk {

class DatagramTransport {
public:
    virtual ~DatagramTransport() = default;

    // Sends one datagram to the group address through the network card with the address `card`.
    // A failed send is not reported.
    virtual void SendToGroup(std::span<const std::uint8_t> datagram, const Ipv4Bytes& card) = 0;

    // Makes group datagrams arrive through exactly these cards: joins the group on the new ones
    // and leaves it on those no longer listed.
    virtual void JoinGroupOn(std::span<const Ipv4Bytes> cards) = 0;

    // Waits up to `timeout` for a datagram to read; true when one is waiting.
    virtual bool WaitReadable(std::chrono::milliseconds timeout) = 0;

    // Reads one datagram into `buffer`: its length, or -1 when the read failed.
    virtual int Receive(std::span<std::uint8_t> buffer) = 0;
};

}  // namespace lumisk
