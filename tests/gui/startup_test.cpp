// Start-up of the program itself: without a usable IPv4 address it ends with status 1 before
// any window, as when the socket library does not start.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/lan/lan_testbed.h"

namespace lumisk {
namespace {

TEST(StartUp, NoUsableHostAddressEndsWithStatusOneBeforeAnyWindow) {
    LUMISK_REQUIRE_LAN_TESTBED();
    // A network namespace of its own holds only a loopback interface, and that one down. The
    // window would keep running; the bound ends the test either way.
    const std::string command =
        std::string("timeout 20 unshare --net env QT_QPA_PLATFORM=offscreen ") + LUMISK_APP_PATH +
        " 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace lumisk
