// The search of the protocol library against three simulated adapters over real multicast.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "protocol/search.h"
#include "tests/lan/lan_testbed.h"

namespace lumisk::lan {
namespace {

struct Expected {
    std::string ip;
    std::string netmask;
    std::string gateway;
    std::string dhcpFlag;
    std::array<std::uint8_t, DeviceIdSize> deviceId;
};

using SimSearchTest = LanTest;

TEST_F(SimSearchTest, FindsEveryAdapterWithItsSettings) {
    const pid_t simulator = testbed_.StartSimulator({
        "--adapter",       "--name",      "NAS-static",   "--ip",          "192.0.2.20",
        "--gateway",       "192.0.2.254", "--identity",   "00a0b0000001",  "--adapter",
        "--name",          "NAS-dhcp",    "--ip",         "192.0.2.21",    "--dhcp",
        "--gateway",       "192.0.2.254", "--identity",   "00a0b0000002",  "--adapter",
        "--name",          "NAS-far",     "--ip",         "198.51.100.30", "--netmask",
        "255.255.255.128", "--gateway",   "198.51.100.1", "--identity",    "00a0b0000003",
    });
    ASSERT_GT(simulator, 0);

    const std::map<std::string, Expected> expected = {
        {"NAS-static",
         {"192.0.2.20",
          "255.255.255.0",
          "192.0.2.254",
          "0",
          {0x00, 0xA0, 0xB0, 0x00, 0x00, 0x01, 192, 0, 2, 20}}},
        {"NAS-dhcp",
         {"192.0.2.21",
          "255.255.255.0",
          "192.0.2.254",
          "1",
          {0x00, 0xA0, 0xB0, 0x00, 0x00, 0x02, 192, 0, 2, 21}}},
        {"NAS-far",
         {"198.51.100.30",
          "255.255.255.128",
          "198.51.100.1",
          "0",
          {0x00, 0xA0, 0xB0, 0x00, 0x00, 0x03, 198, 51, 100, 30}}},
    };

    {
        InWorkstation inWorkstation(testbed_);
        ASSERT_EQ(TryOpenEndpoint(), std::nullopt);
        EXPECT_EQ(TextOf(HostAddressText), LanTestbed::WorkstationIp());
        SearchDevices();
        CloseEndpoint();
    }

    EXPECT_EQ(DeviceTable.count, 3);
    std::map<std::string, int> seen;
    for (const DeviceRecord* device = DeviceTable.head; device != nullptr; device = device->next) {
        const std::string name(TextOf(device->name));
        ++seen[name];
        const auto wanted = expected.find(name);
        if (wanted == expected.end()) {
            ADD_FAILURE() << "unexpected device " << name;
            continue;
        }
        EXPECT_EQ(TextOf(device->ipText), wanted->second.ip) << name;
        EXPECT_EQ(TextOf(device->netmaskText), wanted->second.netmask) << name;
        EXPECT_EQ(TextOf(device->gatewayText), wanted->second.gateway) << name;
        EXPECT_EQ(TextOf(device->dhcpFlag), wanted->second.dhcpFlag) << name;
        EXPECT_TRUE(std::ranges::equal(device->deviceId, wanted->second.deviceId)) << name;
    }
    for (const auto& [name, settings] : expected) {
        EXPECT_EQ(seen[name], 1) << name;
    }
    ClearDeviceTable();
    EXPECT_EQ(testbed_.StopSimulator(simulator), 0);
}

}  // namespace
}  // namespace lumisk::lan
