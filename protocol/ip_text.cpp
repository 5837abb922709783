#include "protocol/ip_text.h"

#include <charconv>
#include <cstdio>

namespace lumisk {

std::string FormatIpText(std::span<const std::uint8_t, 4> address) {
    char text[IpTextSize];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    return text;
}

std::optional<Ipv4Bytes> ParseIpText(std::string_view text) {
    Ipv4Bytes address{};
    const char* position = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t octet = 0; octet < address.size(); ++octet) {
        if (octet > 0) {
            if (position == end || *position != '.') {
                return std::nullopt;
            }
            ++position;
        }
        const char* digitsEnd = position;
        while (digitsEnd != end && *digitsEnd >= '0' && *digitsEnd <= '9') {
            ++digitsEnd;
        }
        if (digitsEnd == position || digitsEnd - position > 3) {
            return std::nullopt;
        }
        unsigned value = 0;
        std::from_chars(position, digitsEnd, value);
        if (value > 255) {
            return std::nullopt;
        }
        address[octet] = static_cast<std::uint8_t>(value);
        position = digitsEnd;
    }
    if (position != end) {
        return std::nullopt;
    }
    return address;
}

}  // namespace lumisk
