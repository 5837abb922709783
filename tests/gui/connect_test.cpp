// Connect and Disconnect of the main window against a real SMB server in the LAN testbed, with
// the host's own drive table: remembered connections in a per-user table under a temporary
// configuration directory, and desktop mounts through GVfs in a desktop login of the workstation.

#include <gtest/gtest.h>

#include <signal.h>

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "drives/desktop_mounts.h"
#include "drives/mounted_drives.h"
#include "drives/remembered_drives.h"
#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/fixed_text.h"
#include "setup/device_list.h"
#include "setup/login_dialog.h"
#include "setup/main_window_controls.h"
#include "setup/web_probe.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/gui_driver.h"
#include "tests/lan/desktop_login.h"
#include "tests/lan/samba_server.h"

namespace lumisk::gui_test {
namespace {

constexpr char ShareUser[] = "smbuser";
constexpr char SharePassword[] = "pw";
constexpr WindowsVersionInfo WindowsNt4 = {2, 4, 0, 1381};
constexpr char GvfsDaemon[] = "/usr/libexec/gvfsd";
constexpr char UnmapFailure[] =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the "
    "drive is not being "
    "accessed.";

HostDrives& SystemDrives() {
    static const std::unique_ptr<HostDrives> drives = MakeSystemDrives();
    return *drives;
}

class DriveMapping : public MainWindowOnLan {
protected:
    DriveMapping() : MainWindowOnLan(SystemDrives()) {}

    void PrepareLan() override {
        LUMISK_REQUIRE_SAMBA();
        ASSERT_TRUE(client_.Ready());
        const char* configHome = std::getenv("XDG_CONFIG_HOME");
        oldConfigHome_ =
            configHome != nullptr ? std::optional<std::string>(configHome) : std::nullopt;
        setenv("XDG_CONFIG_HOME", testbed_.TemporaryPath("config").c_str(), 1);
        CopyText(LoginUserName, "");
        CopyText(LoginPassword, "");

        ASSERT_GT(testbed_.StartSimulator({"--adapter",    "--name",     "NAS-Office",
                                           "--ip",         "192.0.2.20", "--gateway",
                                           "192.0.2.254",  "--shares",   "HDD_a:HDD_b:HDD_x",
                                           "--adapter",    "--name",     "NAS\\Evil",
                                           "--ip",         "192.0.2.23", "--shares",
                                           "HDD_a",        "--adapter",  "--name",
                                           LongName + "x", "--ip",       "192.0.2.24",
                                           "--shares",     "HDD_a"}),
                  0);
        // Cut to 63 characters, the long name would reach the server.
        testbed_.SetWorkstationHosts({{"NAS-Office", "192.0.2.20"}, {LongName, "192.0.2.20"}});
        ASSERT_TRUE(server_.Start(
            testbed_, {{"HDD_a", true, "", ""}, {"HDD_b", false, ShareUser, SharePassword}},
            {"NAS-Office"}));
        LUMISK_REQUIRE_DESKTOP_LOGIN();
        ASSERT_TRUE(login_.Start());
        login_.EnterEnvironment();
    }

    void TearDown() override {
        login_.End();
        server_.Stop();
        MainWindowOnLan::TearDown();
        if (oldConfigHome_) {
            setenv("XDG_CONFIG_HOME", oldConfigHome_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    std::map<char, std::string> Remembered() {
        return ReadRememberedDrives(RememberedDrivesPath());
    }

    std::string CurrentLetter() {
        return Window().driveLetterCombo.GetItemText(Window().driveLetterCombo.GetCurSel());
    }

    const std::string LongName = "NAS-" + std::string(59, 'n');

    lan::SambaServer server_;
    lan::SambaClientHome client_;
    lan::DesktopLogin login_{testbed_};
    std::optional<std::string> oldConfigHome_;
};

TEST_F(DriveMapping, AGuestShareIsMappedWithoutAskingAndRemembered) {
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
        EXPECT_EQ(CurrentLetter(), "D:");
        // Once the probe has answered and its result is reset, the wait is the mount's. The
        // server holds the mount until the window has painted during it, however fast it is.
        ASSERT_EQ(kill(-server_.Pid(), SIGSTOP), 0);
        const auto resumeServer = [this] { kill(-server_.Pid(), SIGCONT); };
        bool answered = false;
        const RepaintProbe* painted = nullptr;
        const RepaintProbe mounting([&] {
            answered = answered || WebProbeResult() == WebProbeReachable;
            const bool waiting = answered && WebProbeResult() == WebProbePending &&
                                 QApplication::overrideCursor() != nullptr;
            if (waiting && painted->Paints() > 0) {
                resumeServer();
            }
            return waiting;
        });
        painted = &mounting;
        const auto boxes = Click(control::Connect);
        resumeServer();
        ExpectBox(boxes, "Successfully mapped drive.", "Confirm", ui::MessageIcon::Information);
        EXPECT_GT(mounting.Paints(), 0) << "the window paints while the share is mounted";
        EXPECT_EQ(ShareRows(), (std::vector<std::string>{"HDD_a|D:", "HDD_b|", "HDD_x|"}));
        EXPECT_EQ(Window().driveLetterCombo.GetItemText(0), "D: \\\\NAS-Office\\HDD_a");
        EXPECT_EQ(CurrentLetter(), "E:");
        ClickButton(control::Exit);
    });
    EXPECT_EQ(Remembered(), (std::map<char, std::string>{{'D', "\\\\NAS-Office\\HDD_a"}}));
    EXPECT_TRUE(SmbShareMount("NAS-Office", "HDD_a").mounted);

    // The next run of the window finds the mapping again, and its Disconnect unmounts it.
    ASSERT_EQ(TryOpenEndpoint(), std::nullopt);
    MainDialog again(host);
    shown = &again;
    RunDialog(again, [&] {
        EXPECT_EQ(again.Window().driveLetterCombo.GetItemText(0), "D: \\\\NAS-Office\\HDD_a");
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
        ExpectBox(Click(control::Disconnect), "Successfully unmapped drive.", "Confirm",
                  ui::MessageIcon::Information);
        ClickButton(control::Exit);
    });
    EXPECT_FALSE(SmbShareMount("NAS-Office", "HDD_a").mounted);
    EXPECT_TRUE(Remembered().empty());
}

TEST_F(DriveMapping, AProtectedShareAsksOnceAndRetries) {
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        int asked = 0;
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            ++asked;
            EXPECT_TRUE(FindControl(LoginDialog::UserNameEdit)->isEnabled());
            TypeText(LoginDialog::UserNameEdit, ShareUser);
            TypeText(LoginDialog::PasswordEdit, SharePassword);
            ClickButton(ui::IdOk);
        });
        ExpectBox(Click(control::Connect), "Successfully mapped drive.", "Confirm",
                  ui::MessageIcon::Information);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(AdminLoginMode, 0);

        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        WhenDialogShown(LoginDialog::TemplateId, [] {
            TypeText(LoginDialog::PasswordEdit, "wrong");
            ClickButton(ui::IdOk);
        });
        CopyText(LoginPassword, "stale");
        ExpectFailureBox(Click(control::Connect), "Failed to map drive.", "refused");
        ClickButton(control::Exit);
    });
    EXPECT_EQ(Remembered(), (std::map<char, std::string>{{'D', "\\\\NAS-Office\\HDD_b"}}));
    EXPECT_TRUE(SmbShareMount("NAS-Office", "HDD_b").mounted);
}

TEST_F(DriveMapping, WindowsNtAsksFirstAndDoesNotRetry) {
    system.version = WindowsNt4;
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
        int asked = 0;
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            ++asked;
            EXPECT_TRUE(FindControl(LoginDialog::UserNameEdit)->isEnabled());
            ClickButton(ui::IdCancel);
        });
        ExpectBox(Click(control::Connect), "Successfully mapped drive.", "Confirm",
                  ui::MessageIcon::Information);
        EXPECT_EQ(asked, 1);

        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            ++asked;
            ClickButton(ui::IdCancel);
        });
        ExpectFailureBox(Click(control::Connect), "Failed to map drive.", "");
        EXPECT_EQ(asked, 2) << "one dialog, no retry";
        ClickButton(control::Exit);
    });
}

TEST_F(DriveMapping, AConnectedLetterIsReleasedFirst) {
    ASSERT_EQ(WriteRememberedDrives(RememberedDrivesPath(), {{'D', "\\\\NAS-Office\\HDD_x"}}), 0);
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
        ASSERT_TRUE(ChooseComboItem(control::DriveLetters, "D: \\\\NAS-Office\\HDD_x"));
        // The window repaints as the drop-down list closes or it is uncovered: the refresh of
        // the letters keeps the one chosen, and the share row.
        {
            RepaintProbe uncovered([] { return true; });
            ASSERT_TRUE(WaitUntil([&] { return uncovered.Paints() >= 2; }));
        }
        ASSERT_EQ(CurrentLetter(), "D: \\\\NAS-Office\\HDD_x");
        ExpectBox(Click(control::Connect), "Successfully mapped drive.", "Confirm",
                  ui::MessageIcon::Information);
        ClickButton(control::Exit);
    });
    EXPECT_EQ(Remembered(), (std::map<char, std::string>{{'D', "\\\\NAS-Office\\HDD_a"}}));
}

TEST_F(DriveMapping, DisconnectByShareRowByLetterAndOfAnEmptyLocation) {
    ASSERT_EQ(WriteRememberedDrives(RememberedDrivesPath(),
                                    {{'E', "\\\\NAS-Office\\HDD_a"}, {'Z', "\\\\STORAGE1\\HDD_1"}}),
              0);
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        ExpectFailureBox(Click(control::Disconnect), UnmapFailure, "is not mapped");

        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
        ExpectBox(Click(control::Disconnect), "Successfully unmapped drive.", "Confirm",
                  ui::MessageIcon::Information);
        EXPECT_EQ(ShareRows(), (std::vector<std::string>{"HDD_a|", "HDD_b|", "HDD_x|"}));

        ASSERT_TRUE(ClickAdapter("NAS-Office"));  // no share row selected: the letter list decides
        ASSERT_TRUE(ChooseComboItem(control::DriveLetters, "Z: \\\\STORAGE1\\HDD_1"));
        ExpectBox(Click(control::Disconnect), "Successfully unmapped drive.", "Confirm",
                  ui::MessageIcon::Information);
        ClickButton(control::Exit);
    });
    EXPECT_TRUE(Remembered().empty());
}

// GVfs stops answering during a Connect: each wait ends at its limit, and the window says why.
TEST_F(DriveMapping, AMountThatNeverAnswersEndsAtItsLimit) {
    const auto limited = MakeMountedDrives(std::chrono::seconds{2});
    HostServices stuckHost{*limited, system, web, browser, *shareFiles, SystemClock()};
    MainDialog stuck{stuckHost};
    shown = &stuck;
    // A mount and an unmount start GVfs's daemon.
    ASSERT_EQ(MountSmbShare("NAS-Office", "HDD_a", "", ""), std::nullopt);
    ASSERT_EQ(UnmountSmbShare("NAS-Office", "HDD_a"), std::nullopt);
    const pid_t gvfsd = login_.StartedByBus(GvfsDaemon);
    ASSERT_GT(gvfsd, 0);
    RunDialog(stuck, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
        ASSERT_EQ(kill(gvfsd, SIGSTOP), 0);
        WhenDialogShown(LoginDialog::TemplateId, [] { ClickButton(ui::IdCancel); });
        ExpectBox(Click(control::Connect),
                  "Failed to map drive.\nGVfs, the desktop's file service, did not answer "
                  "within 2 s",
                  "Error", ui::MessageIcon::Stop);
        kill(gvfsd, SIGCONT);
        ClickButton(control::Exit);
    });
    shown = &dialog;
    EXPECT_TRUE(Remembered().empty());
}

TEST_F(DriveMapping, RefusalsAndImpossibleNames) {
    // D: maps the guest share under the adapter's address: another server to SMB.
    ASSERT_EQ(MountSmbShare("192.0.2.20", "HDD_a", "", ""), std::nullopt);
    const std::map<char, std::string> before = {{'D', "\\\\192.0.2.20\\HDD_a"}};
    ASSERT_EQ(WriteRememberedDrives(RememberedDrivesPath(), before), 0);
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        ExpectBox(Click(control::Connect), "Please select an adapter in the above section.",
                  "Warning", ui::MessageIcon::Exclamation);

        // A name with a backslash would name another server: refused before anything is tried.
        ASSERT_TRUE(ChooseShare("NAS\\Evil", "HDD_a"));
        ExpectFailureBox(Click(control::Connect), "Failed to map drive.", "cannot name a network");
        // So would a name over 63 characters, cut to fit.
        ASSERT_TRUE(ChooseShare(LongName + "x", "HDD_a"));
        ExpectFailureBox(Click(control::Connect), "Failed to map drive.", "cannot name a network");

        // A share the server does not have, asked again in the dialog and refused again, on D:.
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_x"));
        ASSERT_TRUE(ChooseComboItem(control::DriveLetters, "D: \\\\192.0.2.20\\HDD_a"));
        WhenDialogShown(LoginDialog::TemplateId, [] { ClickButton(ui::IdOk); });
        ExpectFailureBox(Click(control::Connect), "Failed to map drive.", "");
        ClickButton(control::Exit);
    });
    EXPECT_EQ(Remembered(), before);
    EXPECT_TRUE(SmbShareMount("192.0.2.20", "HDD_a").mounted);
}

}  // namespace
}  // namespace lumisk::gui_test
