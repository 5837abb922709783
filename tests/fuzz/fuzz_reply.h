#pragma once
// Turns fuzz input into a reply that the readers get past the opcode and ClientId tests, so the
// fuzzer spends its time on what follows them.

#include <cstdint>
#include <cstring>
#include <span>

#include "protocol/device_table.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::testing {

inline constexpr Ipv4Bytes FuzzedAdapter = {192, 0, 2, 10};

// The input with opcode and TestClientId written over bytes 0..10 where it is long enough, and
// with the selected adapter's address over bytes 17..20 when its first byte is even.
Bytes FuzzedReply(std::span<const std::uint8_t> input, std::uint8_t opcode);

// Stops the fuzzer when a fixed-width text has lost its terminating zero.
template <std::size_t N>
void RequireTerminated(const char (&field)[N]) {
    if (std::memchr(field, 0, N) == nullptr) {
        __builtin_trap();
    }
}

// RequireTerminated() on every text of every record in DeviceTable.
inline void RequireTerminatedDevices() {
    for (const DeviceRecord* device = DeviceTable.head; device != nullptr; device = device->next) {
        RequireTerminated(device->name);
        RequireTerminated(device->ipText);
        RequireTerminated(device->netmaskText);
        RequireTerminated(device->gatewayText);
        RequireTerminated(device->dhcpFlag);
    }
}

}  // namespace lumisk::testing
