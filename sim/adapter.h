#pragma once
// One simulated adapter: what it was started with and what set requests have changed since.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/device_table.h"
#include "protocol/ip_text.h"

namespace lumisk::sim {

using SimClock = std::chrono::steady_clock;

inline constexpr std::size_t IdentitySize = DeviceIdAddressOffset;
using Identity = std::array<std::uint8_t, IdentitySize>;
using DeviceId = std::array<std::uint8_t, DeviceIdSize>;

// Ways an adapter misbehaves so the program's defences can be tried.
enum class Fault {
    None,
    WrongClientId,  // replies carry a ClientId with one byte changed
    Truncated,      // replies cut short, at a different point each time
    Overlong,       // counts and texts that run to the end of a full-size datagram
    Flood,          // a stream of unknown datagrams instead of the reply
    Silent,         // never answers
    IgnoresSets,    // answers searches and get requests, but takes and confirms no set request
};

struct Adapter {
    std::string name;
    Ipv4Bytes address{};
    char netmask[IpTextSize] = "255.255.255.0";
    char gateway[IpTextSize] = "0.0.0.0";
    bool dhcp = false;
    Identity identity{};
    std::string shares = "HDD_a:HDD_b";
    std::string user = "admin";
    std::string password;
    char workgroup[32] = "WORKGROUP";
    char codepage[32] = "437";
    char accessMode[8] = "rw";
    std::string diskStatus = "OK";
    std::string shareName = "HDD_a";
    std::optional<Ipv4Bytes> leaseAddress;
    std::chrono::milliseconds restartTime{90000};
    std::chrono::milliseconds replyDelay{0};
    std::chrono::milliseconds floodTime{3000};
    bool web = true;
    bool replyToGroup = false;
    Fault fault = Fault::None;

    // A code page change restarts the adapter; until then it answers nothing.
    SimClock::time_point silentUntil{};
    // Counts the replies the Truncated fault has cut, to vary where the next is cut.
    std::size_t repliesCut = 0;

    DeviceId Id() const;
    bool IsSilentAt(SimClock::time_point now) const { return now < silentUntil; }
};

// The number of leading one bits of a netmask text; 24 when the text is no address.
int PrefixLength(std::string_view netmaskText);

// `address` plus `step`, carrying across octets.
Ipv4Bytes AddressPlus(const Ipv4Bytes& address, std::uint32_t step);

}  // namespace lumisk::sim
