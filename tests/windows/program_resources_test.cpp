// What windres put into lumisk.exe, read back through the Windows calls: the icon the window and
// the About box show, the version record, and the data files the window is built from.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumisk {
namespace {

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = LoadLibraryExA(LUMISK_PROGRAM_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program_, nullptr) << LUMISK_PROGRAM_PATH;
    }
    void TearDown() override {
        if (program_ != nullptr) {
            FreeLibrary(program_);
        }
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

TEST_F(ProgramResources, IconAndDataFilesAreThere) {
    const HANDLE icon = LoadImageA(program_, MAKEINTRESOURCEA(128), IMAGE_ICON, 32, 32, 0);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(static_cast<HICON>(icon));
    for (const char* name : {"DIALOGS_100_JSON", "DIALOGS_102_JSON", "DIALOGS_134_JSON",
                             "DIALOGS_139_JSON", "DIALOGS_141_JSON", "STRINGS_JSON"}) {
        const HRSRC data = FindResourceA(program_, name, MAKEINTRESOURCEA(10));
        ASSERT_NE(data, nullptr) << name;
        EXPECT_GT(SizeofResource(program_, data), 10u) << name;
    }
}

TEST_F(ProgramResources, TheVersionRecordIsTheOneOfResources) {
    const DWORD size = GetFileVersionInfoSizeA(LUMISK_PROGRAM_PATH, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(LUMISK_PROGRAM_PATH, 0, size, record.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(VersionValue(record, "FileVersion"), "2, 2, 0, 0");
    EXPECT_EQ(VersionValue(record, "CompanyName"), "Varnok");
    EXPECT_EQ(VersionValue(record, "ProductName"), "Velnora");
}

}  // namespace
}  // namespace lumisk
