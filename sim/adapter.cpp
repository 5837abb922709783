#include "sim/adapter.h"

#include <algorithm>
#include <bit>

namespace lumisk::sim {
namespace {

constexpr int FallbackPrefixLength = 24;

std::uint32_t HostOrder(const Ipv4Bytes& address) {
    std::uint32_t value = 0;
    for (const std::uint8_t octet : address) {
        value = (value << 8) | octet;
    }
    return value;
}

}  // namespace

DeviceId Adapter::Id() const {
    DeviceId id{};
    std::ranges::copy(identity, id.begin());
    std::ranges::copy(address, id.begin() + DeviceIdAddressOffset);
    return id;
}

int PrefixLength(std::string_view netmaskText) {
    const std::optional<Ipv4Bytes> netmask = ParseIpText(netmaskText);
    if (!netmask) {
        return FallbackPrefixLength;
    }
    return std::countl_one(HostOrder(*netmask));
}

Ipv4Bytes AddressPlus(const Ipv4Bytes& address, std::uint32_t step) {
    const std::uint32_t value = HostOrder(address) + step;
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

}  // namespace lumisk::sim
