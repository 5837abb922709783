// The search of the protocol library against three simulated adapters over real multicast.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

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

// Whether process `pid` has ended within five seconds, or only its exit status is left: the
// processes of a dead test become the init process's, which may reap them later.
bool EndsSoon(pid_t pid) {
    for (int wait = 0; wait < 100; ++wait) {
        const std::vector<std::string> stat = ProcessStat(pid);
        if (stat.empty() || stat[0] == "Z") {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// Holds a testbed with a simulator and a program group in its LAN until it is ended, after it has
// written their names to the file that LUMISK_TESTBED_HOLDER names; run by the test below.
TEST(TestbedCleanUp, DISABLED_HoldsATestbedUntilEnded) {
    const char* report = std::getenv("LUMISK_TESTBED_HOLDER");
    ASSERT_NE(report, nullptr);
    LanTestbed testbed;
    ASSERT_TRUE(testbed.Start());
    const pid_t simulator = testbed.StartSimulator({"--name", "NAS", "--ip", "192.0.2.20"});
    const pid_t group = testbed.StartInLan({"sleep", "600"}, testbed.TemporaryPath("sleep.log"));
    std::ofstream(std::string(report) + ".partial")
        << testbed.Name() << ' ' << simulator << ' ' << group << ' ' << testbed.TemporaryPath("");
    std::filesystem::rename(std::string(report) + ".partial", report);
    for (;;) {
        pause();
    }
}

// A test process ended by SIGTERM or SIGINT ends its testbed itself; what one killed outright
// leaves, the next testbed removes. Nothing of another live run is touched meanwhile.
TEST(TestbedCleanUp, NothingOutlivesARunEndedBySignal) {
    LUMISK_REQUIRE_LAN_TESTBED();
    LanTestbed live;
    ASSERT_TRUE(live.Start());
    for (const int signal : {SIGTERM, SIGINT, SIGKILL}) {
        const std::string report = live.TemporaryPath("holder-" + std::to_string(signal));
        const pid_t holder = fork();
        if (holder == 0) {
            setenv("LUMISK_TESTBED_HOLDER", report.c_str(), 1);
            execl("/proc/self/exe", "lan_sim_search_test",
                  "--gtest_filter=TestbedCleanUp.DISABLED_HoldsATestbedUntilEnded",
                  "--gtest_also_run_disabled_tests", nullptr);
            _exit(127);
        }
        ASSERT_GT(holder, 0);
        for (int wait = 0; wait < 600 && !std::filesystem::exists(report); ++wait) {
            std::this_thread::sleep_for(50ms);
        }
        std::string name, directory;
        pid_t simulator = -1, group = -1;
        std::ifstream(report) >> name >> simulator >> group >> directory;
        kill(holder, signal);
        waitpid(holder, nullptr, 0);
        ASSERT_FALSE(name.empty()) << "the holder did not start its testbed";
        if (signal == SIGKILL) {
            LanTestbed next;
            ASSERT_TRUE(next.Start());
        }
        const std::string namespaces = RunProgram({"ip", "netns", "list"}).out;
        EXPECT_EQ(namespaces.find("-" + name), std::string::npos) << signal << ":\n" << namespaces;
        EXPECT_NE(namespaces.find(live.WorkstationNamespace()), std::string::npos) << signal;
        EXPECT_TRUE(EndsSoon(simulator) && EndsSoon(group)) << signal;
        EXPECT_FALSE(std::filesystem::exists(directory)) << signal;
    }
}

}  // namespace
}  // namespace lumisk::lan
