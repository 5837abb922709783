// The host services on the real Windows calls, run under Wine: release names, drive types and
// connections, file writes on a share, the user name and the console (the web connection test
// and the browser: tests/unit/web_connection_test.cpp).

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "cli/password_input.h"
#include "protocol/console_text.h"
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
    EXPECT_EQ(files.WriteFile("\\\\lumisk-test\\HDD_a\\absent\\nls_cp850.o", bytes),
              ERROR_PATH_NOT_FOUND);
    EXPECT_NE(files.FailureReason().find("is not on the adapter's disk"), std::string::npos)
        << files.FailureReason();
    written.close();
    std::filesystem::remove_all(server);
}

TEST_F(HostServices, TheUserIsTheOneLoggedOn) {
    const char* loggedOn = std::getenv("USERNAME");
    ASSERT_NE(loggedOn, nullptr);
    EXPECT_EQ(host.Services().system.UserName(), std::string(loggedOn));
}

// Keys typed at the console, as its input buffer receives them.
void TypeAtConsole(const std::wstring& keys) {
    std::vector<INPUT_RECORD> records(keys.size(), {KEY_EVENT, {}});
    for (std::size_t i = 0; i < keys.size(); ++i) {
        records[i].Event.KeyEvent = {TRUE, 1,         WORD(keys[i] == L'\r' ? VK_RETURN : 0),
                                     0,    {keys[i]}, 0};
    }
    DWORD written = 0;
    WriteConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), records.data(),
                       static_cast<DWORD>(records.size()), &written);
}

// A console of the test's own, whatever its code page: text goes to it and comes from it as
// UTF-16, and the program has it as UTF-8.
TEST(Console, TakesAndGivesTextAsUtf16) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    // Read and write, as a console handle given to a program is.
    std::FILE* console = _wfopen(L"CONOUT$", L"r+");
    ASSERT_NE(console, nullptr);
    EXPECT_TRUE(WriteText(console, "NAS-\u00e9\n"));
    std::fclose(console);
    std::wstring shown(5, L'\0');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(GetStdHandle(STD_OUTPUT_HANDLE), shown.data(), 5, COORD{}, &read);
    EXPECT_EQ(shown, L"NAS-\u00e9");
    TypeAtConsole(L"p\u00e4ssw\u00f6rd\r");
    EXPECT_EQ(PromptForPassword("Password: "), "p\u00e4ssw\u00f6rd");
    TypeAtConsole(L"J\u00fcrgen\r");  // standard input is the console now
    EXPECT_EQ(ReadPasswordLine(), "J\u00fcrgen");
    FreeConsole();
}

}  // namespace
}  // namespace lumisk
