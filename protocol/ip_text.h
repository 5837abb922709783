#pragma once
// IPv4 addresses as four bytes in network order and as dotted decimal text.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumisk {

using Ipv4Bytes = std::array<std::uint8_t, 4>;

// At most "255.255.255.255" and a terminating zero.
inline constexpr std::size_t IpTextSize = 16;

// "%d.%d.%d.%d" of the four bytes, first octet first.
std::string FormatIpText(std::span<const std::uint8_t, 4> address);

// Strict dotted decimal: four numbers 0..255, nothing else.
std::optional<Ipv4Bytes> ParseIpText(std::string_view text);

}  // namespace lumisk
