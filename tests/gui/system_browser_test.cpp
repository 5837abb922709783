// The system's browser on Linux: xdg-open, whose failure to start a browser is noticed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "setup/browser.h"

namespace lumisk {
namespace {

TEST(SystemBrowser, AnOpenerThatIsMissingOrFailsIsNoticed) {
    const std::string directory = ::testing::TempDir() + "lumisk_opener";
    std::filesystem::create_directories(directory);
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    const auto openWith = [&](const char* script) {
        std::filesystem::remove(directory + "/xdg-open");
        if (script != nullptr) {
            std::ofstream(directory + "/xdg-open") << "#!/bin/sh\n" << script << "\n";
            std::filesystem::permissions(directory + "/xdg-open",
                                         std::filesystem::perms::owner_all);
        }
        setenv("PATH", directory.c_str(), 1);
        const bool opened = MakeSystemBrowser()->OpenUrl("http://192.0.2.20");
        setenv("PATH", oldPath.c_str(), 1);
        return opened;
    };
    EXPECT_FALSE(openWith(nullptr));
    EXPECT_FALSE(openWith("exit 3"));
    EXPECT_TRUE(openWith("exit 0"));
    EXPECT_TRUE(openWith("exec /bin/sleep 2")) << "a browser still starting counts as started";
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace lumisk
