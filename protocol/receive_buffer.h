#pragma once
// Reading datagrams off the endpoint the way the search and the exchanges do.

#include <array>
#include <cstdint>
#include <span>

#include "protocol/datagram_transport.h"
#include "protocol/messages.h"

namespace lumisk {

// Room for the largest datagram and the zero byte appended after it.
class ReceiveBuffer {
public:
    // Reads one datagram; false when the read failed.
    bool ReadFrom(DatagramTransport& transport);
    std::span<const std::uint8_t> Datagram() const { return {bytes_.data(), length_}; }

private:
    std::array<std::uint8_t, MaxDatagramSize + 1> bytes_{};
    std::size_t length_ = 0;
};

}  // namespace lumisk
