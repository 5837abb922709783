#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "drives/drive_table.h"
#include "drives/host_identity.h"
#include "drives/remembered_drives.h"
#include "drives/remote_name.h"
#include "drives/whole_file.h"
#ifndef _WIN32
#include "drives/smb_client_config.h"
#endif
#include "protocol/fixed_text.h"
#include "tests/support/fake_host.h"

namespace lumisk {
namespace {

class DriveLetters : public ::testing::Test {
protected:
    DriveLetterChoices Offered() {
        ReadDriveTable(drives);
        return OfferedDriveLetters(drives);
    }

    static const DriveRecord& Record(char letter) { return DriveTable[letter - 'A']; }

    testing::FakeDrives drives;
};

TEST_F(DriveLetters, RemoteNamesSplitAtTheFirstBackslashAfterTheServer) {
    drives.connections = {{'E', "\\\\srv\\share\\sub"}, {'F', "\\\\STORAGE1\\HDD_1"}};
    ReadDriveTable(drives);
    EXPECT_STREQ(Record('E').remoteServer, "srv");
    EXPECT_STREQ(Record('E').remoteShare, "share\\sub");
    EXPECT_STREQ(Record('F').remoteServer, "STORAGE1");
    EXPECT_STREQ(Record('F').localName, "F:");
    EXPECT_STREQ(Record('G').remoteServer, "");
}

TEST_F(DriveLetters, ANameWithoutAShareKeepsTheRecordAndNoConnectionEmptiesIt) {
    drives.connections = {{'E', "\\\\srv\\HDD_a"}};
    ReadDriveTable(drives);
    drives.connections = {{'E', "\\\\srv-without-share"}};
    ReadDriveTable(drives);
    EXPECT_STREQ(Record('E').remoteServer, "srv");
    drives.connections = {{'E', ""}};
    ReadDriveTable(drives);
    EXPECT_STREQ(Record('E').remoteShare, "HDD_a");
    drives.connections.clear();
    ReadDriveTable(drives);
    EXPECT_STREQ(Record('E').remoteServer, "");
    EXPECT_STREQ(Record('E').remoteShare, "");
}

TEST_F(DriveLetters, OverlongServerAndShareAreCutToTheirFields) {
    drives.connections = {{'E', "\\\\" + std::string(100, 's') + "\\" + std::string(300, 'h')}};
    ReadDriveTable(drives);
    EXPECT_EQ(TextOf(Record('E').remoteServer), std::string(63, 's'));
    EXPECT_EQ(TextOf(Record('E').remoteShare), std::string(255, 'h'));
}

TEST_F(DriveLetters, FixedRemovableAndOpticalDrivesAreNotOffered) {
    drives.types = {{'C', DriveType::Fixed},   {'D', DriveType::Fixed},
                    {'E', DriveType::Cdrom},   {'G', DriveType::Removable},
                    {'H', DriveType::RamDisk}, {'I', DriveType::Unknown}};
    const DriveLetterChoices choices = Offered();
    ASSERT_FALSE(choices.items.empty());
    EXPECT_EQ(choices.items.front(), "F:");
    EXPECT_EQ(choices.items[1], "I:");
    EXPECT_EQ(choices.items.back(), "Z:");
    EXPECT_EQ(choices.items.size(), 19u);
    EXPECT_EQ(choices.current, 0);
}

TEST_F(DriveLetters, ConnectedLettersShowTheirShareAndAreNeverCurrent) {
    drives.types = {{'A', DriveType::Remote}, {'B', DriveType::NoRootDir}};
    drives.connections = {{'D', "\\\\STORAGE1\\HDD_1"}, {'Z', "\\\\STORAGE1\\HDD_2"}};
    const DriveLetterChoices choices = Offered();
    EXPECT_EQ(choices.items.front(), "D: \\\\STORAGE1\\HDD_1");
    EXPECT_EQ(choices.items.back(), "Z: \\\\STORAGE1\\HDD_2");
    EXPECT_EQ(choices.current, 1);
    EXPECT_EQ(choices.items[1], "E:");
}

TEST_F(DriveLetters, EveryLetterConnectedLeavesNoCurrentItem) {
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        drives.connections[letter] = std::string("\\\\srv\\") + letter;
    }
    EXPECT_EQ(Offered().current, -1);
}

TEST(RememberedDrivesFile, KeepsWellFormedLinesOnly) {
    const std::string path = ::testing::TempDir() + "/remembered-drives";
    {
        std::FILE* file = std::fopen(path.c_str(), "w");
        std::fputs("E: \\\\NAS\\HDD_a\nbad line\ne: \\\\lower\\x\nZ: \\\\192.0.2.10\\HDD_b\\sub\n",
                   file);
        std::fclose(file);
    }
    const auto drives = ReadRememberedDrives(path);
    EXPECT_EQ(drives, (std::map<char, std::string>{{'E', "\\\\NAS\\HDD_a"},
                                                   {'Z', "\\\\192.0.2.10\\HDD_b\\sub"}}));
    EXPECT_TRUE(ReadRememberedDrives(path + ".missing").empty());
}

struct VersionRow {
    std::uint32_t platform, major, minor, build;
    const char* name;
};

class VersionNames : public ::testing::TestWithParam<VersionRow> {};

TEST_P(VersionNames, FollowTheReleaseTable) {
    const VersionRow& row = GetParam();
    EXPECT_EQ(WindowsVersionName(WindowsVersionInfo{row.platform, row.major, row.minor, row.build}),
              row.name);
}

constexpr char Unknown[] = "unknown Windows version";

INSTANTIATE_TEST_SUITE_P(
    Table, VersionNames,
    ::testing::Values(
        VersionRow{1, 4, 0, 950, "Windows 95"}, VersionRow{1, 4, 0, 1080, "Windows 95 SP1"},
        VersionRow{1, 4, 3, 951, "Windows 95 SP1"}, VersionRow{1, 4, 0, 1081, "Windows 95 OSR2"},
        VersionRow{1, 4, 9, 949, Unknown}, VersionRow{1, 4, 10, 1998, "Windows 98"},
        VersionRow{1, 4, 10, 0x040A07CE, "Windows 98"},
        VersionRow{1, 4, 10, 2182, "Windows 98 SP1"}, VersionRow{1, 4, 10, 2183, "Windows 98 SE"},
        VersionRow{1, 4, 10, 1997, Unknown}, VersionRow{1, 4, 90, 3000, "Windows ME"},
        VersionRow{1, 4, 11, 3000, Unknown}, VersionRow{1, 5, 0, 950, Unknown},
        VersionRow{2, 3, 51, 1057, "Windows NT 3.51"}, VersionRow{2, 4, 0, 1381, "Windows NT 4"},
        VersionRow{2, 5, 0, 2195, "Windows 2000"}, VersionRow{2, 5, 1, 2600, "Windows XP"},
        VersionRow{2, 5, 2, 3790, Unknown}, VersionRow{2, 6, 0, 6000, Unknown},
        VersionRow{3, 7, 7, 7, "Windows CE"}, VersionRow{0, 4, 0, 950, Unknown},
        VersionRow{4, 5, 1, 2600, Unknown}));

TEST(VersionNames, AFailedQueryIsUnknown) {
    EXPECT_EQ(WindowsVersionName(std::nullopt), Unknown);
}

// An adapter's name of up to 63 bytes names its shares; a longer one, cut to fit, could name
// another server, and a backslash would.
TEST(ShareRemoteNames, NameTheAdapterWholeOrNotAtAll) {
    const std::string name63 = "NAS-" + std::string(59, 'n');
    EXPECT_EQ(ShareRemoteName("NAS-Office", "HDD_a"), "\\\\NAS-Office\\HDD_a");
    EXPECT_EQ(ShareRemoteName(name63, "HDD_a"), "\\\\" + name63 + "\\HDD_a");
    for (const std::string& refused : {name63 + "x", std::string("NAS\\Evil"), std::string()}) {
        EXPECT_EQ(ShareRemoteName(refused, "HDD_a"), std::nullopt) << refused;
    }
}

#ifndef _WIN32
// Samba takes the last value of a repeated parameter: SMB1 is let in by changing the global
// section's own setting, never by adding one before it. Share sections keep theirs.
TEST(SmbClientConfig, TheGlobalLowestProtocolBecomesNt1AndNothingElseChanges) {
    const struct {
        const char* before;
        bool allowed;
        const char* after;
    } rows[] = {
        {"", false, "client min protocol = NT1\n"},
        {"[global]\nname resolve order = host\n", false,
         "[global]\nclient min protocol = NT1\nname resolve order = host\n"},
        {"[global]\nname resolve order = host\n  Client Min Protocol = SMB2\n[x]\n"
         "client min protocol = SMB3\n",
         false,
         "[global]\nname resolve order = host\nclient min protocol = NT1\n[x]\n"
         "client min protocol = SMB3\n"},
        {"clientminprotocol=SMB2\n[global]\nclient min protocol = NT1\n", true,
         "client min protocol = NT1\n[global]\nclient min protocol = NT1\n"},
        {"[global]\nclient min protocol = NT1\n# old\nclient min protocol = SMB2_10\n", false,
         "[global]\nclient min protocol = NT1\n# old\nclient min protocol = NT1\n"},
    };
    const std::string path = ::testing::TempDir() + "/lumisk-smb-client.conf";
    for (const auto& row : rows) {
        ASSERT_EQ(ReplaceWholeFile(path, row.before), 0);
        EXPECT_EQ(ClientAllowsSmb1(path), row.allowed) << row.before;
        ASSERT_EQ(AllowSmb1InClient(path), 0);
        EXPECT_TRUE(ClientAllowsSmb1(path)) << row.before;
        std::ifstream written(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), row.after);
    }
    std::remove(path.c_str());
}
#endif

}  // namespace
}  // namespace lumisk
