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

}  // namespace lumisk
