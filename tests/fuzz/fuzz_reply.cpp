#include "tests/fuzz/fuzz_reply.h"

#include <algorithm>

#include "protocol/endpoint.h"
#include "protocol/messages.h"

namespace lumisk::testing {

Bytes FuzzedReply(std::span<const std::uint8_t> input, std::uint8_t opcode) {
    Bytes reply(input.begin(), input.end());
    const bool addressedToSelection = !reply.empty() && reply[0] % 2 == 0;
    if (reply.size() > ClientIdSize) {
        reply[offset::Opcode] = opcode;
        std::ranges::copy(TestClientId, reply.begin() + offset::ClientId);
    }
    if (addressedToSelection && reply.size() >= HeaderSize) {
        std::ranges::copy(FuzzedAdapter, reply.begin() + offset::DeviceAddress);
    }
    return reply;
}

}  // namespace lumisk::testing
