// lumisk.exe's window on the real Windows host services, under Wine in the LAN testbed: started
// there by the Linux build's lan_window_wine_test, whose testbed simulates the adapters the test
// starts. The same program runs the shared main-window, LAN-settings, web-page and language-dialog
// tests, on host services the tests control.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/main_dialog.h"
#include "protocol/endpoint.h"
#include "setup/login_dialog.h"
#include "setup/system_host.h"
#include "tests/windows/gui_driver.h"
#include "tests/windows/lan_testbed_link.h"
#include "ui/application.h"

namespace lumisk::gui_test {
namespace {

// Searches, queries, a login and a move: a minute is ample.
constexpr int LongestRunMs = 60000;

using SystemHostOnLan = lan::LanTest;

TEST_F(SystemHostOnLan, ListsTheAdaptersShowsTheChosenOneAndTakesATypedAddress) {
    ASSERT_GT(
        testbed_.StartSimulator(
            {"--adapter",   "--name",   "NAS-Office",  "--ip",       "192.0.2.20", "--gateway",
             "192.0.2.254", "--shares", "HDD_a:HDD_b", "--password", "secret",     "--adapter",
             "--name",      "NAS-Lab",  "--ip",        "192.0.2.21", "--gateway",  "192.0.2.254",
             "--dhcp",      "--shares", "HDD_1"}),
        0);
    ASSERT_EQ(TryOpenEndpoint(), std::nullopt);
    SystemHost host;
    MainDialog dialog(host.Services());
    RunDialog(
        dialog,
        [&] {
            ASSERT_EQ(ListRowCount(control::DeviceList), 2);
            const int office = ListRowOf(control::DeviceList, "NAS-Office");
            ASSERT_GE(office, 0);
            EXPECT_EQ(ListItemText(control::DeviceList, office, 1), "192.0.2.20");
            EXPECT_EQ(ListItemText(control::DeviceList, office, 2), "255.255.255.0");
            EXPECT_EQ(ListItemText(control::DeviceList, office, 3), "192.0.2.254");
            EXPECT_EQ(ControlText(control::Ip), "");

            ASSERT_TRUE(
                ClickListRow(control::DeviceList, ListRowOf(control::DeviceList, "NAS-Lab")));
            EXPECT_EQ(ControlText(control::Ip), "192.0.2.21");
            EXPECT_EQ(ControlText(control::Dhcp), "Enable");
            EXPECT_FALSE(IsControlEnabled(control::Ip));
            ASSERT_EQ(ListRowCount(control::ShareList), 1);
            EXPECT_EQ(ListItemText(control::ShareList, 0, 0), "HDD_1");

            ASSERT_TRUE(ClickListRow(control::DeviceList, office));
            EXPECT_EQ(ControlText(control::Ip), "192.0.2.20");
            EXPECT_EQ(ControlText(control::Netmask), "255.255.255.0");
            EXPECT_EQ(ControlText(control::Gateway), "192.0.2.254");
            EXPECT_EQ(ControlText(control::Dhcp), "Disable");
            ASSERT_EQ(ListRowCount(control::ShareList), 2);
            EXPECT_EQ(ListItemText(control::ShareList, 0, 0), "HDD_a");
            EXPECT_EQ(ListItemText(control::ShareList, 1, 0), "HDD_b");

            // Typed over the filled field; the adapter wants its password, and moves.
            ASSERT_TRUE(TypeText(control::Ip, "192.0.2.77"));
            EXPECT_EQ(ControlText(control::Ip), "192.0.2.77");
            bool userNameGreyed = false;
            WhenDialogShown(LoginDialog::TemplateId, [&userNameGreyed] {
                userNameGreyed = !IsControlEnabled(LoginDialog::UserNameEdit);
                TypeText(LoginDialog::PasswordEdit, "secret");
                ClickButton(ui::IdOk);
            });
            EXPECT_TRUE(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }).empty());
            EXPECT_TRUE(userNameGreyed);
            const int moved = ListRowOf(control::DeviceList, "NAS-Office");
            ASSERT_GE(moved, 0);
            EXPECT_EQ(ListItemText(control::DeviceList, moved, 1), "192.0.2.77");
            ASSERT_TRUE(ClickButton(control::Exit));
        },
        LongestRunMs);
}

}  // namespace
}  // namespace lumisk::gui_test
