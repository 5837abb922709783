// The Windows build's window under Wine, on a virtual X display in the workstation, against
// simulated adapters. make windows-test runs it with the Windows test program in
// LUMISK_WINDOWS_WINDOW_TEST and its prepared prefix in WINEPREFIX; the program drives the window
// as a user and checks what it shows of the adapters started here.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/lan/lan_testbed.h"

namespace lumisk::lan {
namespace {

using WindowUnderWine = LanTest;

TEST_F(WindowUnderWine, TheProgramsChecksPassAgainstTheSimulatedAdapters) {
    const char* program = std::getenv("LUMISK_WINDOWS_WINDOW_TEST");
    if (program == nullptr) {
        GTEST_SKIP() << "make windows-test names the Windows test program";
    }
    ASSERT_GT(testbed_.StartSimulator(
                  {"--adapter",  "--name",        "NAS-Office",  "--ip",        "192.0.2.20",
                   "--gateway",  "192.0.2.254",   "--shares",    "HDD_a:HDD_b", "--password",
                   "secret",     "--adapter",     "--name",      "NAS-Lab",     "--ip",
                   "192.0.2.21", "--gateway",     "192.0.2.254", "--dhcp",      "--shares",
                   "HDD_1",      "--disk-status", "3",           "--codepage",  "850"}),
              0);
    const std::string display = testbed_.StartVirtualDisplay();
    ASSERT_FALSE(display.empty());
    // Wine's programs in the workstation, its services included, take the display from here.
    setenv("DISPLAY", display.c_str(), 1);
    const char* prefix = std::getenv("WINEPREFIX");
    const ProgramResult result =
        testbed_.RunUnderWineInWorkstation(prefix != nullptr ? prefix : "", {program}, {}, 300s);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("[  PASSED  ] 1 test."), std::string::npos) << result.out;
}

}  // namespace
}  // namespace lumisk::lan
