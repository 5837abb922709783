#include <gtest/gtest.h>

#include "setup/address_rules.h"

namespace lumisk {
namespace {

TEST(AddressOctets, HostFieldsRefuseNetworkAndBroadcastInTheLastOctet) {
    const struct {
        AddressKind kind;
        std::array<int, 4> octets;
        int octetIndex;
        const char* message;
    } refused[] = {
        {AddressKind::Ip,
         {192, 168, 0, 255},
         3,
         "Invalid IP address in 4th digit. It should be 1-254."},
        {AddressKind::Ip,
         {192, 168, 0, 0},
         3,
         "Invalid IP address in 4th digit. It should be 1-254."},
        {AddressKind::Ip,
         {256, 0, 0, 1},
         0,
         "Invalid IP address in 1st digit. It should be 0-255."},
        {AddressKind::Ip,
         {1, 300, 0, 1},
         1,
         "Invalid IP address in 2nd digit. It should be 0-255."},
        {AddressKind::Gateway,
         {10, 0, 999, 1},
         2,
         "Invalid gateway IP address in 3rd digit. It should be 0-255."},
        {AddressKind::Gateway,
         {10, 0, 0, 0},
         3,
         "Invalid gateway IP address in 4th digit. It should be 1-254."},
        {AddressKind::Netmask,
         {255, 255, 255, 256},
         3,
         "Invalid subnet mask address in 4th digit. It should be 0-255."},
    };
    for (const auto& row : refused) {
        const auto problem = CheckAddressOctets(row.kind, row.octets);
        ASSERT_TRUE(problem) << row.message;
        EXPECT_EQ(problem->octetIndex, row.octetIndex);
        EXPECT_EQ(problem->message, row.message);
    }
    EXPECT_FALSE(CheckAddressOctets(AddressKind::Netmask, {255, 255, 255, 255}));
    EXPECT_FALSE(CheckAddressOctets(AddressKind::Netmask, {0, 0, 0, 0}));
    EXPECT_FALSE(CheckAddressOctets(AddressKind::Ip, {0, 0, 0, 1}));
    EXPECT_FALSE(CheckAddressOctets(static_cast<AddressKind>(4), {999, 999, 999, 999}));
}

TEST(AddressText, IsDottedDecimal) {
    EXPECT_EQ(AddressText({192, 0, 2, 10}), "192.0.2.10");
    EXPECT_EQ(AddressText({255, 255, 255, 0}), "255.255.255.0");
}

TEST(GatewaySubnet, ComparesEveryOctetUnderTheMask) {
    EXPECT_FALSE(GatewayInSubnet({192, 168, 0, 5}, {255, 255, 255, 0}, {10, 0, 0, 1}));
    EXPECT_TRUE(GatewayInSubnet({192, 168, 0, 5}, {255, 255, 255, 0}, {192, 168, 0, 1}));
    EXPECT_TRUE(GatewayInSubnet({192, 168, 0, 5}, {0, 0, 0, 0}, {10, 0, 0, 1}));
    EXPECT_TRUE(GatewayInSubnet({192, 168, 0, 5}, {255, 0, 255, 0}, {192, 1, 0, 9}));
    EXPECT_FALSE(GatewayInSubnet({192, 168, 0, 5}, {255, 255, 255, 128}, {192, 168, 0, 200}));
}

TEST(StaticAddress, TheFirstProblemInTheOrderOfTheFields) {
    EXPECT_EQ(CheckStaticAddress({{192, 0, 2, 0}, {255, 255, 256, 0}, {10, 0, 0, 255}}),
              "Invalid IP address in 4th digit. It should be 1-254.");
    EXPECT_EQ(CheckStaticAddress({{192, 0, 2, 5}, {255, 255, 256, 0}, {10, 0, 0, 255}}),
              "Invalid subnet mask address in 3rd digit. It should be 0-255.");
    EXPECT_EQ(CheckStaticAddress({{192, 0, 2, 5}, {255, 255, 255, 0}, {10, 0, 0, 255}}),
              "Invalid gateway IP address in 4th digit. It should be 1-254.");
    EXPECT_EQ(CheckStaticAddress({{192, 0, 2, 5}, {255, 255, 255, 0}, {10, 0, 0, 1}}),
              GatewayOutsideSubnetMessage);
    EXPECT_EQ(CheckStaticAddress({{192, 0, 2, 5}, {255, 255, 255, 0}, {192, 0, 2, 1}}),
              std::nullopt);
}

}  // namespace
}  // namespace lumisk
