// The address changes reading an arbitrary confirmation: the record and the selection stay one
// consistent address.

#include <cstring>

#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/messages.h"
#include "tests/fuzz/fuzz_reply.h"

using namespace lumisk;
using namespace lumisk::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedEndpoint endpoint;
    SelectAdapter(FuzzedAdapter);
    const Bytes reply = FuzzedReply(std::span(data, size), SetReplyOpcode);
    endpoint.transport->onSend = [&](std::span<const std::uint8_t>) {
        endpoint.transport->Deliver(reply);
    };
    CopyText(PendingIp, FormatIpText(FuzzedAdapter));
    SetStaticAddress();
    if (SetDhcpClient() == 1) {
        const DeviceRecord* device = FindSelectedDevice();
        if (device == nullptr ||
            TextOf(device->ipText) !=
                FormatIpText(std::span<const std::uint8_t, 4>(device->deviceId + 6, 4))) {
            __builtin_trap();
        }
    }
    return 0;
}
