// Every get exchange reading an arbitrary reply: the texts it fills stay within their fields.

#include <cstring>

#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/messages.h"
#include "tests/fuzz/fuzz_reply.h"

using namespace lumisk;
using namespace lumisk::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetDiagnosticStream(nullptr);
    ScriptedEndpoint endpoint;
    SelectAdapter(FuzzedAdapter);
    const Bytes reply = FuzzedReply(std::span(data, size), GetReplyOpcode);
    endpoint.transport->onSend = [&](std::span<const std::uint8_t>) {
        endpoint.transport->Deliver(reply);
    };
    for (int (*exchange)() :
         {QueryShareList, QueryWorkgroup, QueryCodepage, QueryDiskStatus, QueryShareName}) {
        exchange();
    }
    VerifyLogin();
    for (const ShareNode* share = ShareTable.head; share != nullptr; share = share->next) {
        if (std::memchr(share->shareName, 0, sizeof share->shareName) == nullptr ||
            share->shareName[0] == 0) {
            __builtin_trap();
        }
    }
    if (std::memchr(DiskStatusText, 0, sizeof DiskStatusText) == nullptr) {
        __builtin_trap();
    }
    return 0;
}
