#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "language/embedded_files.h"

namespace lumisk::testing {
namespace {

struct Run {
    int status;
    std::string output;
};

Run RunShell(const std::string& command) {
    Run run{-1, ""};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, read);
    }
    run.status = pclose(pipe);
    return run;
}

// A second opinion from binutils on the hand-built ELF files: it reports what a strict reader
// would choke on, such as sections outside the file or a bad string table index.
void ExpectReadelfAccepts(int id, const std::string& machine) {
    if (std::system("readelf --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "readelf is not installed";
    }
    const std::optional<std::span<const std::uint8_t>> module = FindEmbeddedFile("Codepage", id);
    ASSERT_TRUE(module.has_value());
    const std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / ("lumisk_module_" + std::to_string(id));
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(module->data()),
                   static_cast<std::streamsize>(module->size()));
        ASSERT_TRUE(file.good());
    }
    const Run run = RunShell("readelf -h -S -W '" + path.string() + "'");
    std::filesystem::remove(path);

    ASSERT_TRUE(WIFEXITED(run.status)) << run.output;
    EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.output;
    EXPECT_EQ(run.output.find("Warning"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Error"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("REL (Relocatable file)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Machine:                           " + machine + "\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(" .modinfo "), std::string::npos) << run.output;
}

TEST(EmbeddedModules, ReadelfAcceptsAPowerPcModule) {
    ExpectReadelfAccepts(153, "PowerPC");
}

TEST(EmbeddedModules, ReadelfAcceptsAnArmModule) {
    ExpectReadelfAccepts(174, "ARM");
}

}  // namespace
}  // namespace lumisk::testing
