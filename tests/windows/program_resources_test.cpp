// What windres put into lumisk.exe and lumisk-cli.exe, read back through the Windows calls: the
// manifest, the icon at every size, the version record, and the window's data files.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace lumisk {
namespace {

class ProgramResources : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        program_ = LoadLibraryExA(GetParam(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program_, nullptr) << GetParam();
    }
    void TearDown() override {
        if (program_ != nullptr) {
            FreeLibrary(program_);
        }
    }

    std::string Resource(LPCSTR name, LPCSTR type) {
        const HRSRC found = FindResourceA(program_, name, type);
        const HGLOBAL loaded = found != nullptr ? LoadResource(program_, found) : nullptr;
        return loaded != nullptr ? std::string(static_cast<const char*>(LockResource(loaded)),
                                               SizeofResource(program_, found))
                                 : std::string();
    }

    std::string VersionValue(const std::vector<char>& record, const char* name) {
        char* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
        if (!VerQueryValueA(record.data(), path.c_str(), reinterpret_cast<void**>(&value),
                            &length) ||
            length == 0) {
            return {};
        }
        return std::string(value, length - 1);
    }

    HMODULE program_ = nullptr;
};

TEST_P(ProgramResources, TheManifestAsksForVisualStylesAndPerMonitorDpi) {
    const std::string manifest =
        Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    for (const char* wanted :
         {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "PerMonitorV2, PerMonitor",
          ">true/pm<", "level=\"asInvoker\"", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
}

TEST_P(ProgramResources, TheIconHasEverySizeAndTheLargestAsPng) {
    // The icon group: a 6-byte header, then 14 bytes per image (width, height, ..., its id).
    const std::string group = Resource(MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14));
    ASSERT_GE(group.size(), 6u);
    std::set<int> sizes;
    for (std::size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
        // A width of 0 is 256.
        const int width = static_cast<unsigned char>(group[entry]);
        sizes.insert(width == 0 ? 256 : width);
        WORD id = 0;
        std::memcpy(&id, &group[entry + 12], sizeof id);
        if (width == 0) {
            EXPECT_EQ(Resource(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)).substr(0, 4), "\x89PNG");
        }
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

TEST_P(ProgramResources, TheVersionRecordIsTheOneOfResources) {
    const DWORD size = GetFileVersionInfoSizeA(GetParam(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(GetParam(), 0, size, record.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(VersionValue(record, "FileVersion"), "2, 2, 0, 0");
    EXPECT_EQ(VersionValue(record, "CompanyName"), "Varnok");
    EXPECT_EQ(VersionValue(record, "ProductName"), "Velnora");
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ProgramResources,
                         ::testing::Values(LUMISK_PROGRAM_PATH, LUMISK_CLI_PATH),
                         [](const auto& program) {
                             return program.index == 0 ? "lumisk" : "lumisk_cli";
                         });

TEST(WindowResources, TheDataFilesAreThere) {
    const HMODULE program = LoadLibraryExA(LUMISK_PROGRAM_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    for (const char* name : {"DIALOGS_100_JSON", "DIALOGS_102_JSON", "DIALOGS_134_JSON",
                             "DIALOGS_139_JSON", "DIALOGS_141_JSON", "STRINGS_JSON"}) {
        const HRSRC data = FindResourceA(program, name, MAKEINTRESOURCEA(10));
        ASSERT_NE(data, nullptr) << name;
        EXPECT_GT(SizeofResource(program, data), 10u) << name;
    }
    FreeLibrary(program);
}

}  // namespace
}  // namespace lumisk
