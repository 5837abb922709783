#include <gtest/gtest.h>

#include "cli/commands.h"

namespace lumisk {
namespace {

// Each mistake is refused before the protocol endpoint is opened, so nothing can be sent: with a
// network card that does not exist the endpoint could not be opened anyway, and trying would say
// so with status 1.
TEST(CliUsage, MistakesAreUsageErrorsAndNothingIsSent) {
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"frobnicate"},
        {"shares"},
        {"shares", "192.0.2.1", "192.0.2.2"},
        {"search", "--bogus"},
        {"set-ip", "192.0.2.1", "--ip"},
        {"set-workgroup", "192.0.2.1"},
        {"--version", "192.0.2.1"},
        {"search", "--json=yes"},
        {"connect", "192.0.2.1", "HDD_a", "C"},
        {"disconnect", "C"},
        {"language", "192.0.2.1", "850x"},
        {"language", "192.0.2.1", "0850"},
    };
    for (std::vector<std::string> words : mistakes) {
        const std::string command = words.empty() ? "" : words[0];
        words.insert(words.end(), {"--interface", "192.0.2.77"});
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunCommandLine(words), ExitUsage) << command;
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(said.empty()) << command;
        EXPECT_EQ(said.find("protocol endpoint"), std::string::npos) << said;
    }
}

TEST(CliUsage, EveryCommandHasHelp) {
    for (const char* command :
         {"search", "shares", "workgroup", "codepage", "disk-status", "share-name", "login",
          "set-ip", "set-dhcp", "set-workgroup", "set-codepage", "set-access-mode", "language",
          "connect", "disconnect", "drives"}) {
        for (const char* help : {"--help", "-h"}) {
            ::testing::internal::CaptureStdout();
            EXPECT_EQ(RunCommandLine({command, help}), ExitSuccess) << command;
            const std::string usage = ::testing::internal::GetCapturedStdout();
            EXPECT_NE(usage.find(std::string("Usage: lumisk-cli ") + command), std::string::npos)
                << command;
            // Every command that logs in says so and takes the password from standard input.
            if (std::string(command).starts_with("set-") || command == std::string("login")) {
                EXPECT_NE(usage.find("[--password-stdin]"), std::string::npos) << usage;
                EXPECT_NE(usage.find("Logs in"), std::string::npos) << usage;
            }
        }
    }
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(RunCommandLine({"-h"}), ExitSuccess);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("Usage:"), std::string::npos);
}

}  // namespace
}  // namespace lumisk
