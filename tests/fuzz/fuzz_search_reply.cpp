// The search over arbitrary replies: every record that enters DeviceTable has terminated texts.

#include "protocol/device_table.h"
#include "protocol/messages.h"
#include "protocol/search.h"
#include "tests/fuzz/fuzz_reply.h"

using namespace lumisk;
using namespace lumisk::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedEndpoint endpoint;
    // The input is up to three replies, separated where the byte 0xFE stands.
    const std::span input(data, size);
    auto start = input.begin();
    for (auto at = input.begin(); at <= input.end(); ++at) {
        if (at == input.end() || *at == 0xFE) {
            endpoint.transport->Deliver(FuzzedReply(std::span(start, at), SearchReplyOpcode),
                                        std::chrono::milliseconds(at - input.begin()));
            start = at == input.end() ? at : at + 1;
        }
    }
    SearchDevices();
    RequireTerminatedDevices();
    return 0;
}
