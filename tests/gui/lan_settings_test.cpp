// Apply and the "Receive DHCP" choice of the main window against simulated adapters.

#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/udp_transport.h"
#include "setup/login_dialog.h"
#include "setup/main_window_controls.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {
namespace {

// Real time, but pauses that take none: an exchange that hears nothing gives up at once.
class NoPauseClock final : public Clock {
public:
    TimePoint Now() override { return std::chrono::steady_clock::now(); }
    void Sleep(std::chrono::milliseconds) override {}
};

using LanSettings = MainWindowOnLan;

MessageBoxRecord OnlyBox(const std::vector<MessageBoxRecord>& boxes) {
    EXPECT_EQ(boxes.size(), 1u);
    return boxes.empty() ? MessageBoxRecord{} : boxes.front();
}

TEST_F(LanSettings, ApplyWithoutAChosenAdapterIsRefused) {
    RunDialog(dialog, [&] {
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }),
                  "Please select an adapter in the above section.", "Error", ui::MessageIcon::Stop);
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, BlankFieldsAreReportedInOrder) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartFourAdapters({"--record", record});
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        const struct {
            ui::AddressField field;
            const char* message;
        } rows[] = {{Window().gatewayControl, "Please input gateway address!"},
                    {Window().netmaskControl, "Please input net mask address!"},
                    {Window().ipControl, "Please input IP address!"}};
        for (auto row : rows) {
            row.field.Clear();
            ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }), row.message,
                      "Warning", ui::MessageIcon::Exclamation);
        }
        ClickButton(control::Exit);
    });
    // The search and the share list went out, but no login and no set request.
    std::istringstream requests(lan::ReadWhole(record));
    int lines = 0;
    for (std::string line; std::getline(requests, line); ++lines) {
        EXPECT_FALSE(line.starts_with("05") ||
                     (line.starts_with("03") && line.substr(42, 2) == "04"))
            << line;
    }
    EXPECT_GT(lines, 0);
}

TEST_F(LanSettings, OutOfRangeOctetsAreNamedAndFocused) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        Window().ipControl.SetAddress("192.0.2.255");
        auto box = OnlyBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }));
        EXPECT_EQ(box.text, "Invalid IP address in 4th digit. It should be 1-254.");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, ui::MessageIcon::Information);
        EXPECT_EQ(FocusedOctet(control::Ip), 3);

        Window().ipControl.SetAddress("192.0.2.");  // the empty last octet reads as 0
        box = OnlyBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }));
        EXPECT_EQ(box.text, "Invalid IP address in 4th digit. It should be 1-254.");

        Window().ipControl.SetAddress("192.0.2.50");
        Window().gatewayControl.SetAddress("192.0.2.0");
        box = OnlyBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }));
        EXPECT_EQ(box.text, "Invalid gateway IP address in 4th digit. It should be 1-254.");
        EXPECT_EQ(FocusedOctet(control::Gateway), 3);

        Window().gatewayControl.SetAddress("10.0.0.1");
        box = OnlyBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }));
        EXPECT_EQ(box.text, "Gateway address input error!");
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(Window().deviceList.GetItemText(RowOf("NAS-Office"), 1), "192.0.2.20")
            << "nothing was sent";
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, AStaticChangeWithAnEmptyPasswordMovesTheAdapterWithoutLogin) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        Window().ipControl.SetAddress("192.0.2.50");
        EXPECT_TRUE(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }).empty());
        const int moved = RowOf("NAS-Office");
        ASSERT_GE(moved, 0);
        EXPECT_EQ(Window().deviceList.GetItemText(moved, 1), "192.0.2.50");
        EXPECT_STREQ(SelectedDeviceIp, "192.0.2.50");
        EXPECT_EQ(Window().deviceChosen, 1) << "the adapter stays the chosen one";
        EXPECT_TRUE(Window().ipControl.IsBlank());
        EXPECT_EQ(AdminLoginMode, 1);
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, AddressesTypedOverTheFilledFieldsReachTheAdapterExactly) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        const struct {
            int field;
            const char* typed;
        } fields[] = {{control::Ip, "198.51.100.200"},
                      {control::Netmask, "255.255.0.0"},
                      {control::Gateway, "198.51.0.1"}};
        for (const auto& field : fields) {
            ASSERT_TRUE(TabTo(field.field));
            TypeKeys(field.typed);
        }
        ASSERT_TRUE(TabTo(control::Apply));
        EXPECT_TRUE(RunAndAnswerMessageBoxes([] { PressKey(Key::Space); }).empty());
        const int moved = RowOf("NAS-Office");
        ASSERT_GE(moved, 0);
        EXPECT_EQ(Window().deviceList.GetItemText(moved, 1), "198.51.100.200");
        EXPECT_EQ(Window().deviceList.GetItemText(moved, 2), "255.255.0.0");
        EXPECT_EQ(Window().deviceList.GetItemText(moved, 3), "198.51.0.1");
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, ARefusedPasswordAsksOnceThenReports) {
    StartFourAdapters({"--password", "secret"});
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        Window().ipControl.SetAddress("192.0.2.51");
        int asked = 0;
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            ++asked;
            EXPECT_FALSE(IsControlEnabled(LoginDialog::UserNameEdit));
            TypeText(LoginDialog::PasswordEdit, "guess");
            ClickButton(ui::IdOk);
        });
        const auto box = OnlyBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(box.text, "Wrong administrator password input!");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, ui::MessageIcon::Stop);

        WhenDialogShown(LoginDialog::TemplateId, [] {
            TypeText(LoginDialog::PasswordEdit, "secret");
            ClickButton(ui::IdOk);
        });
        EXPECT_TRUE(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }).empty());
        EXPECT_GE(RowOf("NAS-Office"), 0);
        EXPECT_EQ(Window().deviceList.GetItemText(RowOf("NAS-Office"), 1), "192.0.2.51");
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, TheDhcpChoiceGreysAndFreesTheFields) {
    StartFourAdapters();
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        ASSERT_TRUE(ChooseComboItem(control::Dhcp, "Enable"));
        for (const int field : {control::Ip, control::Netmask, control::Gateway}) {
            EXPECT_FALSE(dialog.IsControlEnabled(field)) << field;
        }
        EXPECT_EQ(Window().ipControl.GetOctets(), (std::array<int, 4>{192, 0, 2, 20}))
            << "the fields keep their text";
        ASSERT_TRUE(ChooseComboItem(control::Dhcp, "Disable"));
        for (const int field : {control::Ip, control::Netmask, control::Gateway}) {
            EXPECT_TRUE(dialog.IsControlEnabled(field)) << field;
        }
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, SwitchingToDhcpConfirmsAndSearchesAgain) {
    StartFourAdapters({"--lease-ip", "203.0.113.77"});
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Office"));
        ASSERT_TRUE(ChooseComboItem(control::Dhcp, "Enable"));
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }),
                  "DHCP client enabled.", "Confirm", ui::MessageIcon::Information);
        EXPECT_EQ(Window().deviceList.GetItemText(RowOf("NAS-Office"), 1), "203.0.113.77");
        EXPECT_EQ(Window().deviceChosen, 0);
        for (const int field : {control::Ip, control::Netmask, control::Gateway}) {
            EXPECT_TRUE(dialog.IsControlEnabled(field)) << field;
        }
        EXPECT_TRUE(Window().ipControl.IsBlank());
        EXPECT_EQ(Window().dhcpCombo.GetItemText(Window().dhcpCombo.GetCurSel()), "Enable");
        ClickButton(control::Exit);
    });
}

TEST_F(LanSettings, AnUnconfirmedDhcpSwitchIsReported) {
    ASSERT_GT(testbed_.StartSimulator(
                  {"--name", "NAS-Deaf", "--ip", "192.0.2.60", "--fault", "ignores-sets"}),
              0);
    // The same port and identity, without the hundred pauses of the wait.
    static NoPauseClock noPauses;
    std::array<std::uint8_t, ClientIdSize> clientId;
    std::copy_n(ClientId, ClientIdSize, clientId.begin());
    CloseEndpoint();
    ASSERT_TRUE(StartSocketLibrary());
    auto opened = UdpTransport::Open();
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<UdpTransport>>(opened))
        << std::get<EndpointFailure>(opened).message;
    AttachEndpoint(std::get<std::unique_ptr<UdpTransport>>(std::move(opened)), noPauses, clientId);
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ClickAdapter("NAS-Deaf")) << Window().deviceList.GetItemCount() << " rows";
        ASSERT_TRUE(ChooseComboItem(control::Dhcp, "Enable"));
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Apply); }),
                  "Set to dhcp client fail.", "Error", ui::MessageIcon::Stop);
        EXPECT_EQ(Window().deviceChosen, 1);
        ClickButton(control::Exit);
    });
    StopSocketLibrary();
}

}  // namespace
}  // namespace lumisk::gui_test
