// The host services on the real Windows calls, run under Wine: release names, drive types and
// connections, file writes on a share, the web connection test and the user name.

// Winsock's header before anything that may include windows.h.
#include <winsock2.h>
// Then the rest of the Windows API.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "setup/system_host.h"

namespace lumisk {
namespace {

constexpr char VersionProbe[] = "windows_version_probe.exe";

// Runs the probe beside this test with Wine set to report `wineVersion` to it.
std::string ReleaseNameUnder(const char* wineVersion) {
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + VersionProbe;
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Version", REG_SZ, wineVersion,
                    static_cast<DWORD>(std::strlen(wineVersion) + 1));
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const auto probe = std::filesystem::path(self).replace_filename(VersionProbe).string();
    std::string name;
    if (FILE* output = _popen(("\"" + probe + "\"").c_str(), "r")) {
        for (int c; (c = std::fgetc(output)) != EOF;) {
            if (c != '\r' && c != '\n') {
                name += static_cast<char>(c);
            }
        }
        _pclose(output);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    return name;
}

class HostServices : public ::testing::Test {
protected:
    SystemHost host;
};

TEST_F(HostServices, ReleasesAreNamedFromTheVersionRecord) {
    const struct {
        const char* wineVersion;
        const char* name;
    } rows[] = {{"winxp", "Windows XP"},    {"win2k", "Windows 2000"}, {"nt40", "Windows NT 4"},
                {"win98", "Windows 98 SE"}, {"win95", "Windows 95"},   {"winme", "Windows ME"}};
    for (const auto& row : rows) {
        EXPECT_EQ(ReleaseNameUnder(row.wineVersion), row.name) << row.wineVersion;
    }
}

TEST_F(HostServices, DriveTypesAndConnectionsComeFromTheSystem) {
    HostDrives& drives = host.Services().drives;
    EXPECT_EQ(drives.Type("C:"), DriveType::Fixed);
    EXPECT_EQ(drives.RemoteName("C:"), std::nullopt);
    const DWORD present = GetLogicalDrives();
    char free = 'Y';
    while (free > 'D' && (present & (1u << (free - 'A'))) != 0) {
        --free;
    }
    const std::string letter = {free, ':'};
    EXPECT_EQ(drives.Type(letter), DriveType::NoRootDir) << letter;
    EXPECT_EQ(drives.RemoteName(letter), std::nullopt);
    // Wine has no network provider, so both calls end with the code that says so.
    EXPECT_EQ(drives.AddConnection(letter, "\\\\lumisk-absent\\HDD_a", "", ""), ERROR_NO_NETWORK);
    EXPECT_EQ(drives.CancelConnection(letter), ERROR_NO_NETWORK);
}

TEST_F(HostServices, ShareFilesAreWrittenThroughTheirUncPath) {
    // Wine finds \\server\share under dosdevices/unc of its prefix.
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_NE(prefix, nullptr) << "WINEPREFIX is not set";
    const std::filesystem::path server =
        std::string("Z:") + prefix + "\\dosdevices\\unc\\lumisk-test";
    std::filesystem::create_directories(server / "HDD_a" / ".codepages");
    const std::vector<std::uint8_t> bytes = {0x7F, 'E', 'L', 'F', 0x00, 0x0A, 0xFF};

    ShareFileWriter& files = host.Services().shareFiles;
    EXPECT_EQ(files.WriteFile("\\\\lumisk-test\\HDD_a\\.codepages\\nls_cp850.o", bytes), 0);
    std::ifstream written(server / "HDD_a" / ".codepages" / "nls_cp850.o", std::ios::binary);
    EXPECT_EQ(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(written), {}), bytes);
    EXPECT_EQ(files.WriteFile("\\\\lumisk-test\\HDD_a\\absent\\nls_cp850.o", bytes), EIO);
    written.close();
    std::filesystem::remove_all(server);
}

TEST_F(HostServices, TheWebTestConnectsToAListenerAndNotToAClosedPort) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    EXPECT_TRUE(host.Services().web.CanConnect(url)) << url;
    closesocket(listener);
    EXPECT_FALSE(host.Services().web.CanConnect(url)) << url;
    WSACleanup();
}

TEST_F(HostServices, TheUserIsTheOneLoggedOn) {
    const char* loggedOn = std::getenv("USERNAME");
    ASSERT_NE(loggedOn, nullptr);
    EXPECT_EQ(host.Services().system.UserName(), std::string(loggedOn));
}

}  // namespace
}  // namespace lumisk
