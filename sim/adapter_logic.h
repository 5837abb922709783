#pragma once
// The device side of the protocol without sockets: how one adapter answers one datagram.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/ip_text.h"
#include "sim/adapter.h"

namespace lumisk::sim {

// The opcode of the datagrams the Flood fault sends; the program knows no such opcode.
inline constexpr std::uint8_t FloodOpcode = 0x7F;

struct Response {
    std::vector<std::uint8_t> datagram;  // empty: the adapter stays quiet
    Ipv4Bytes destination{};             // sent to this address, at the protocol port
    // The datagram is not a reply but the unit of a flood, sent once a millisecond for the
    // adapter's flood time.
    bool flood = false;
    // The request moved the adapter; the address it left.
    std::optional<Ipv4Bytes> leftAddress;
};

// Decides the adapter's answer to a datagram received at `now` and applies the request's
// changes to it. Datagrams it does not understand or that are too short for their opcode are
// ignored.
Response Respond(Adapter& adapter, std::span<const std::uint8_t> datagram,
                 SimClock::time_point now);

}  // namespace lumisk::sim
