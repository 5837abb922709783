#include "setup/address_rules.h"

#include <cstdint>
#include <utility>

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "protocol/ip_text.h"

namespace lumisk {
namespace {

constexpr const char* OctetOrdinals[4] = {"1st", "2nd", "3rd", "4th"};

const char* FieldWording(AddressKind kind) {
    switch (kind) {
        case AddressKind::Ip:
            return "IP address";
        case AddressKind::Netmask:
            return "subnet mask address";
        case AddressKind::Gateway:
            return "gateway IP address";
    }
    return "";
}

}  // namespace

std::optional<AddressProblem> CheckAddressOctets(AddressKind kind,
                                                 const std::array<int, 4>& octets) {
    if (kind != AddressKind::Ip && kind != AddressKind::Netmask && kind != AddressKind::Gateway) {
        return std::nullopt;
    }
    // A host address and a gateway can end neither in 0 (the network) nor in 255 (broadcast).
    const bool hostLastOctet = kind != AddressKind::Netmask;
    for (int index = 0; index < 4; ++index) {
        const int value = octets[index];
        const bool hostOctet = hostLastOctet && index == 3;
        const bool valid = hostOctet ? value >= 1 && value <= 254 : value >= 0 && value <= 255;
        if (!valid) {
            return AddressProblem{index, std::string("Invalid ") + FieldWording(kind) + " in " +
                                             OctetOrdinals[index] + " digit. It should be " +
                                             (hostOctet ? "1-254." : "0-255.")};
        }
    }
    return std::nullopt;
}

std::string AddressText(const std::array<int, 4>& octets) {
    return FormatIpText(
        Ipv4Bytes{static_cast<std::uint8_t>(octets[0]), static_cast<std::uint8_t>(octets[1]),
                  static_cast<std::uint8_t>(octets[2]), static_cast<std::uint8_t>(octets[3])});
}

bool GatewayInSubnet(const std::array<int, 4>& ip, const std::array<int, 4>& netmask,
                     const std::array<int, 4>& gateway) {
    for (int index = 0; index < 4; ++index) {
        if ((gateway[index] & netmask[index]) != (ip[index] & netmask[index])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> CheckStaticAddress(const StaticAddress& address) {
    const std::pair<AddressKind, const std::array<int, 4>&> fields[] = {
        {AddressKind::Ip, address.ip},
        {AddressKind::Netmask, address.netmask},
        {AddressKind::Gateway, address.gateway}};
    for (const auto& [kind, octets] : fields) {
        if (const auto problem = CheckAddressOctets(kind, octets)) {
            return problem->message;
        }
    }
    if (!GatewayInSubnet(address.ip, address.netmask, address.gateway)) {
        return GatewayOutsideSubnetMessage;
    }
    return std::nullopt;
}

void StorePendingAddress(const StaticAddress& address) {
    CopyText(PendingIp, AddressText(address.ip));
    CopyText(PendingNetmask, AddressText(address.netmask));
    CopyText(PendingGateway, AddressText(address.gateway));
}

}  // namespace lumisk
