#pragma once
// The checks an address change passes before anything is sent: octet ranges per field and the
// gateway inside the address's subnet. Shared by the window and the command line.

#include <array>
#include <optional>
#include <string>

namespace lumisk {

enum class AddressKind { Ip = 1, Netmask = 2, Gateway = 3 };

struct AddressProblem {
    int octetIndex;  // 0..3, where the focus goes
    std::string message;
};

inline constexpr char GatewayOutsideSubnetMessage[] = "Gateway address input error!";

// The first octet out of range for its field, with the message that names it; any other kind
// passes.
std::optional<AddressProblem> CheckAddressOctets(AddressKind kind,
                                                 const std::array<int, 4>& octets);

// The dotted text of four octets, each 0..255.
std::string AddressText(const std::array<int, 4>& octets);

// True when the gateway and the address agree in every octet under the netmask.
bool GatewayInSubnet(const std::array<int, 4>& ip, const std::array<int, 4>& netmask,
                     const std::array<int, 4>& gateway);

// A static address as the adapter takes it.
struct StaticAddress {
    std::array<int, 4> ip;
    std::array<int, 4> netmask;
    std::array<int, 4> gateway;
};

// The message of the first problem found, in the order the window's Apply finds them: an octet
// out of range, field by field from the address to the gateway, then a gateway outside the
// address's subnet.
std::optional<std::string> CheckStaticAddress(const StaticAddress& address);

// Puts a checked address in PendingIp, PendingNetmask and PendingGateway, for SetStaticAddress.
void StorePendingAddress(const StaticAddress& address);

}  // namespace lumisk
