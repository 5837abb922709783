// Start-up of the program itself: without a display, or without a usable IPv4 address, it says
// why in one line and ends with status 1 before any window; it takes no options, the toolkit's
// own included.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/lan/lan_testbed.h"

namespace lumisk {
namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs the program under `prefix` with `arguments`, with standard error as its output.
Outcome RunProgram(const std::string& prefix, const std::string& arguments) {
    const std::string command =
        "timeout 20 " + prefix + " " + LUMISK_APP_PATH + " " + arguments + " 2>&1";
    Outcome outcome;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return outcome;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        outcome.output += buffer;
    }
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

TEST(StartUp, WithoutADisplayItSaysSoInOneLine) {
    const Outcome outcome = RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb", "");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output,
              "lumisk needs a graphical display and could not open one; lumisk-cli works without "
              "one.\n");
}

TEST(StartUp, NoUsableHostAddressEndsWithStatusOneBeforeAnyWindow) {
    LUMISK_REQUIRE_LAN_TESTBED();
    // A network namespace of its own holds only a loopback interface, and that one down. The
    // window would keep running; the bound ends the test either way. Options the toolkit would
    // take (a platform that does not exist) are not taken.
    const Outcome outcome =
        RunProgram("unshare --net env QT_QPA_PLATFORM=offscreen", "-platform nowhere -reverse");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.output.ends_with("\nlumisk: this host has no usable IPv4 address\n") ||
                outcome.output == "lumisk: this host has no usable IPv4 address\n")
        << outcome.output;
}

}  // namespace
}  // namespace lumisk
