// The search reply reader alone on the bytes, without a search around it: every record it enters
// has terminated texts.

#include "protocol/device_table.h"
#include "protocol/search.h"
#include "tests/fuzz/fuzz_reply.h"

using namespace lumisk;
using namespace lumisk::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseSearchReply(std::span(data, size));
    RequireTerminatedDevices();
    ClearDeviceTable();
    return 0;
}
