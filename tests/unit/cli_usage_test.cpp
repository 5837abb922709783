#include <gtest/gtest.h>

#include "cli/commands.h"

namespace lumisk {
namespace {

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
    };
    for (const auto& words : mistakes) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunCommandLine(words), ExitUsage) << (words.empty() ? "" : words[0]);
        EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
    }
}

TEST(CliUsage, EveryCommandHasHelp) {
    for (const char* command :
         {"search", "shares", "workgroup", "codepage", "disk-status", "share-name", "login",
          "set-ip", "set-dhcp", "set-workgroup", "set-codepage", "set-access-mode", "language"}) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(RunCommandLine({command, "--help"}), ExitSuccess) << command;
        EXPECT_NE(::testing::internal::GetCapturedStdout().find(std::string("Usage: lumisk-cli ") +
                                                                command),
                  std::string::npos)
            << command;
    }
}

}  // namespace
}  // namespace lumisk
