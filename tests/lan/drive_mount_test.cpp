// lumisk-cli connect, disconnect and drives in a desktop login of the workstation: shares of the
// real SMB server mounted through GVfs, their local paths written, a new login restoring them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/lan/desktop_login.h"
#include "tests/lan/lan_testbed.h"
#include "tests/lan/samba_server.h"

namespace lumisk::lan {
namespace {

constexpr char AdapterIp[] = "192.0.2.20";
constexpr char User[] = "smbuser";
constexpr char Password[] = "pw";

std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class DrivesOnLan : public LanTest {
protected:
    // HDD_a takes only its user; Public takes anyone.
    void StartAdapter(SmbDialects dialects = SmbDialects::Default) {
        LUMISK_REQUIRE_SAMBA();
        LUMISK_REQUIRE_DESKTOP_LOGIN();
        ASSERT_GT(testbed_.StartSimulator({"--name", "NAS-Office", "--ip", AdapterIp, "--shares",
                                           "HDD_a:Public", "--disk-status", "3", "--codepage",
                                           "950", "--no-web"}),
                  0);
        ASSERT_TRUE(server_.Start(testbed_,
                                  {{"HDD_a", false, User, Password}, {"Public", true, "", ""}},
                                  {"NAS-Office"}, dialects));
        testbed_.SetWorkstationHosts({{"NAS-Office", AdapterIp}});
        ASSERT_TRUE(login_.Start());
    }

    void TearDown() override {
        login_.End();
        server_.Stop();
        LanTest::TearDown();
    }

    ProgramResult Cli(std::vector<std::string> arguments, const std::string& input = {}) {
        arguments.insert(arguments.begin(), LUMISK_CLI_PATH);
        return login_.Run(arguments, input);
    }

    // Code page 850 onto the adapter's disk; the test's adapter takes the stand-in files.
    ProgramResult InstallLanguage() {
        return login_.Run({"env", "LUMISK_ALLOW_STAND_IN_CODEPAGES=1", LUMISK_CLI_PATH, "language",
                           AdapterIp, "850", "--no-wait"});
    }

    // What GVfs lists as mounted, in lower case.
    std::string Mounts() { return Lower(login_.Run({"gio", "mount", "-l"}).out); }

    // Writes a file through the mount's local path, as any program of the login would.
    void WriteThrough(const std::string& localPath, const std::string& name) {
        const ProgramResult written =
            login_.Run({"sh", "-c", "echo written > \"$0/$1\"", localPath, name});
        EXPECT_EQ(written.exitCode, 0) << written.err;
    }

    std::string OnServer(const std::string& share, const std::string& name) const {
        return ReadWhole(server_.Directory(share) + "/" + name);
    }

    // The local path of a connect's output line: LETTER, remote name, path.
    static std::string PathOf(const ProgramResult& connected) {
        const std::string line = connected.out.substr(0, connected.out.find('\n'));
        return line.substr(line.rfind('\t') + 1);
    }

    // Runs `script` with `localPath` as $0 in the login, as a program of it would, until the test
    // stops it; waits up to ten seconds until `holds` says of its /proc entry that it holds the
    // share. Its pid, or -1 with a test failure.
    pid_t Holder(const std::string& script, const std::string& localPath,
                 const std::function<bool(const std::string&)>& holds) {
        const pid_t pid = testbed_.StartInWorkstation(
            {"nsenter", "-t", std::to_string(login_.BusPid()), "-m", "sh", "-c", script, localPath},
            testbed_.TemporaryPath("holder-" + std::to_string(++holders_) + ".log"));
        const std::string process = "/proc/" + std::to_string(pid);
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (pid > 0 && !holds(process) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
        }
        if (pid < 0 || !holds(process)) {
            ADD_FAILURE() << "the holder never held " << localPath;
            return -1;
        }
        return pid;
    }

    SambaServer server_;
    DesktopLogin login_{testbed_};
    int holders_ = 0;
};

TEST_F(DrivesOnLan, GuestShareIsMountedWrittenRestoredAtTheNextLoginAndUnmounted) {
    StartAdapter();
    const ProgramResult connected = Cli({"connect", AdapterIp, "Public"});
    ASSERT_EQ(connected.exitCode, 0) << connected.err;
    EXPECT_EQ(connected.out.substr(0, connected.out.find('\t', 3)), "D:\t\\\\NAS-Office\\Public");
    EXPECT_NE(Mounts().find("smb://nas-office/public/"), std::string::npos) << Mounts();
    WriteThrough(PathOf(connected), "one.txt");
    EXPECT_EQ(OnServer("Public", "one.txt"), "written\n");
    const std::string autostart = login_.Home() + "/.config/autostart/lumisk-drives.desktop";
    EXPECT_NE(ReadWhole(autostart).find(" drives --restore\n"), std::string::npos);

    // A new login: the mapping is remembered but not mounted until it is restored.
    login_.End();
    ASSERT_TRUE(login_.Start());
    EXPECT_EQ(Cli({"drives", "--json"}).out,
              "[\n  {\"letter\": \"D:\", \"remote\": \"\\\\\\\\NAS-Office\\\\Public\", \"path\": "
              "null, \"mounted\": false}\n]\n");
    const ProgramResult restored = Cli({"drives", "--restore"});
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    const std::string mountPath =
        login_.RuntimeDirectory() + "/gvfs/smb-share:server=nas-office,share=public";
    EXPECT_EQ(restored.out, "D:\t\\\\NAS-Office\\Public\t" + mountPath + "\tmounted\n");
    WriteThrough(mountPath, "two.txt");
    EXPECT_EQ(OnServer("Public", "two.txt"), "written\n");

    // A second letter of the share keeps it mounted when the first goes, and so does a terminal
    // whose working directory is the share's root.
    ASSERT_EQ(Cli({"connect", AdapterIp, "Public", "E"}).exitCode, 0);
    const ProgramResult disconnected = Cli({"disconnect", "D:"});
    EXPECT_EQ(disconnected.exitCode, 0) << disconnected.err;
    EXPECT_EQ(Cli({"drives"}).out, "E:\t\\\\NAS-Office\\Public\t" + mountPath + "\tmounted\n");
    const pid_t terminal =
        Holder("cd \"$0\" && exec sleep 60", mountPath, [&](const std::string& process) {
            std::error_code unreadable;
            return std::filesystem::read_symlink(process + "/cwd", unreadable) == mountPath;
        });
    EXPECT_EQ(Cli({"disconnect", "E"}).exitCode, 1);
    testbed_.StopInWorkstation(terminal);
    EXPECT_EQ(Cli({"disconnect", "E"}).exitCode, 0);
    EXPECT_EQ(Mounts().find("nas-office"), std::string::npos);
    EXPECT_EQ(Cli({"drives"}).out, "");
    EXPECT_FALSE(std::filesystem::exists(autostart));
}

TEST_F(DrivesOnLan, ProtectedShareMountsOnlyWithItsPasswordAndTakesTheLanguage) {
    StartAdapter();
    std::filesystem::create_directories(server_.Directory("HDD_a") + "/.codepages");
    const ProgramResult asGuest = InstallLanguage();
    EXPECT_EQ(asGuest.exitCode, 1);
    EXPECT_NE(asGuest.err.find("Please check hard drives."), std::string::npos) << asGuest.err;
    EXPECT_EQ(Cli({"connect", AdapterIp, "HDD_a", "E"}).exitCode, 1);
    const ProgramResult refused =
        Cli({"connect", AdapterIp, "HDD_a", "E", "--user", User, "--password-stdin"}, "wrong\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("Failed to map drive."), std::string::npos) << refused.err;
    EXPECT_EQ(Mounts().find("nas-office"), std::string::npos);
    EXPECT_EQ(Cli({"drives"}).out, "");

    const ProgramResult connected =
        Cli({"connect", AdapterIp, "hdd_a", "E:", "--user", User, "--password-stdin"}, "pw\n");
    ASSERT_EQ(connected.exitCode, 0) << connected.err;
    WriteThrough(PathOf(connected), "mine.txt");
    EXPECT_EQ(OnServer("HDD_a", "mine.txt"), "written\n");
    // The language files go through the mapping, with its credentials.
    const ProgramResult installed = InstallLanguage();
    EXPECT_EQ(installed.exitCode, 0) << installed.err;
    EXPECT_FALSE(OnServer("HDD_a", ".codepages/unicode_map.850").empty());

    // A file held open keeps the share mounted.
    const pid_t holder = Holder(
        "exec 3<\"$0/mine.txt\"; exec sleep 60", PathOf(connected),
        [](const std::string& process) { return std::filesystem::exists(process + "/fd/3"); });
    EXPECT_EQ(Cli({"disconnect", "E"}).exitCode, 1);
    testbed_.StopInWorkstation(holder);
    EXPECT_EQ(Cli({"disconnect", "E"}).exitCode, 0);
}

// The user's configuration asks for SMB2 at least, as one does to keep SMB1 off: its own line is
// changed, since Samba would take the last of two.
TEST_F(DrivesOnLan, Smb1AdapterIsMappedOnceTheClientMayGoDownToSmb1) {
    StartAdapter(SmbDialects::OnlySmb1);
    const std::string configPath = login_.Home() + "/.smb/smb.conf";
    const std::string config = ReadWhole(configPath);
    std::ofstream(configPath, std::ios::app) << "client min protocol = SMB2\n";
    const ProgramResult connected = Cli({"connect", AdapterIp, "Public"});
    ASSERT_EQ(connected.exitCode, 0) << connected.err;
    EXPECT_NE(connected.err.find("client min protocol = NT1"), std::string::npos);
    WriteThrough(PathOf(connected), "old.txt");
    EXPECT_EQ(OnServer("Public", "old.txt"), "written\n");
    EXPECT_EQ(ReadWhole(configPath), config + "client min protocol = NT1\n");
}

}  // namespace
}  // namespace lumisk::lan
