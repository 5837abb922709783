// Windows test programs under Wine, on a virtual X display in the workstation, with a link to this
// testbed (tests/lan/testbed_link.h) through which their tests start simulated adapters. make
// windows-test runs it with the program in LUMISK_WINDOWS_WINDOW_TEST, its prepared prefix in
// WINEPREFIX, and optionally a gtest filter for it in LUMISK_WINDOWS_TEST_FILTER and the
// workstation's cards in LUMISK_WINDOWS_TEST_CARDS (1 or 3, as LanTestbed takes them).

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

#include "tests/lan/lan_testbed.h"
#include "tests/lan/testbed_link.h"

namespace lumisk::lan {
namespace {

int CardsAsked() {
    const char* cards = std::getenv("LUMISK_WINDOWS_TEST_CARDS");
    return cards != nullptr ? std::atoi(cards) : 1;
}

class WindowUnderWine : public LanTest {
protected:
    WindowUnderWine() : LanTest(CardsAsked()) {}
};

TEST_F(WindowUnderWine, TheProgramsTestsAllPass) {
    const char* program = std::getenv("LUMISK_WINDOWS_WINDOW_TEST");
    if (program == nullptr) {
        GTEST_SKIP() << "make windows-test names the Windows test program";
    }
    TestbedLink link(testbed_);
    ASSERT_TRUE(link.Listen());
    setenv(link::AddressVariable, link.Address().c_str(), 1);
    const std::string display = testbed_.StartVirtualDisplay();
    ASSERT_FALSE(display.empty());
    // Wine's programs in the workstation, its services included, take the display from here.
    setenv("DISPLAY", display.c_str(), 1);
    // The three cards stand for a desk with virtual or VPN cards, whose host name resolves to an
    // address that none of them holds.
    if (CardsAsked() == 3) {
        testbed_.ResolveHostNameTo("198.51.100.99");
    }
    std::vector<std::string> argv = {program};
    if (const char* filter = std::getenv("LUMISK_WINDOWS_TEST_FILTER")) {
        argv.push_back(std::string("--gtest_filter=") + filter);
    }
    const char* prefix = std::getenv("WINEPREFIX");
    const std::vector<std::string> command =
        testbed_.WineCommandInWorkstation(prefix != nullptr ? prefix : "", argv);
    ASSERT_FALSE(command.empty());
    const ProgramResult result = link.ServeWhileRunning(command, 540s);
    // Each of the program's tests and its time, in the log of this one.
    std::cout << result.out;

    // gtest's summary: some tests ran and all passed, none skipped for want of the link or else.
    std::smatch passed;
    EXPECT_TRUE(
        result.exitCode == 0 &&
        std::regex_search(result.out, passed, std::regex(R"(\[  PASSED  \] (\d+) tests?\.)")) &&
        std::stoi(passed[1]) > 0 && result.out.find("[  SKIPPED ]") == std::string::npos)
        << "exit code " << result.exitCode << ":\n"
        << result.out << result.err;
}

}  // namespace
}  // namespace lumisk::lan
