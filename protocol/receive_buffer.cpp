#include "protocol/receive_buffer.h"

namespace lumisk {

bool ReceiveBuffer::ReadFrom(DatagramTransport& transport) {
    const int received = transport.Receive(std::span(bytes_.data(), MaxDatagramSize));
    if (received < 0) {
        length_ = 0;
        return false;
    }
    length_ = static_cast<std::size_t>(received);
    bytes_[length_] = 0;
    return true;
}

}  // namespace lumisk
