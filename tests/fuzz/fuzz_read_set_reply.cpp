// The readers of a set reply's header alone on the bytes: the requester test and the device
// address, which stays an IP text whatever the datagram's length.

#include "protocol/endpoint.h"
#include "protocol/ip_text.h"
#include "protocol/messages.h"
#include "tests/fuzz/fuzz_reply.h"

using namespace lumisk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span datagram(data, size);
    MatchesClientId(datagram);
    if (!ParseIpText(ReplyDeviceAddress(datagram))) {
        __builtin_trap();
    }
    return 0;
}
