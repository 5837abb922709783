// The window read end to end as a screen reader reads it: the program on a virtual display, its
// accessibility bridge on the desktop login's accessibility bus, and a real client of that bus
// (screen_reader_client.py, on python3-pyatspi, which install-deps.sh installs) against two
// simulated adapters.

#include <gtest/gtest.h>

#include "tests/lan/desktop_login.h"
#include "tests/lan/lan_testbed.h"

namespace lumisk::lan {
namespace {

constexpr char Python[] = "/usr/bin/python3";

using ScreenReaderOnLan = LanTest;

TEST_F(ScreenReaderOnLan, ReadsTheWindowHearsTheSearchEndAndChoosesAnAdapterByKeys) {
    LUMISK_REQUIRE_DESKTOP_LOGIN();
    ASSERT_GT(testbed_.StartSimulator({"--adapter", "--name", "NAS-Office", "--ip", "192.0.2.20",
                                       "--adapter", "--name", "NAS-Lab", "--ip", "192.0.2.21"}),
              0);
    DesktopLogin login(testbed_);
    ASSERT_TRUE(login.Start());
    const std::string display = testbed_.StartVirtualDisplay();
    ASSERT_FALSE(display.empty());
    const ProgramResult result =
        login.Run({"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                   // The bridge speaks whether or not a screen reader said it runs.
                   "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1", Python, LUMISK_SCREEN_READER_CLIENT,
                   LUMISK_APP_PATH},
                  {}, 90s);
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

}  // namespace
}  // namespace lumisk::lan
