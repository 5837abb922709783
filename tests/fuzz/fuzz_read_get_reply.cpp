// The get reply readers alone on the bytes: the reply text stays inside the datagram, and the
// share list made of it holds only terminated, non-empty names.

#include "protocol/device_table.h"
#include "protocol/messages.h"
#include "tests/fuzz/fuzz_reply.h"

using namespace lumisk;
using namespace lumisk::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span datagram(data, size);
    const std::string_view text = ReplyText(datagram);
    if (!text.empty() && (text.data() < reinterpret_cast<const char*>(data) ||
                          text.data() + text.size() > reinterpret_cast<const char*>(data + size))) {
        __builtin_trap();
    }
    AppendShareList(text);
    for (const ShareNode* share = ShareTable.head; share != nullptr; share = share->next) {
        RequireTerminated(share->shareName);
        if (share->shareName[0] == 0) {
            __builtin_trap();
        }
    }
    ClearShareTable();
    return 0;
}
