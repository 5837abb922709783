// The main window with the keyboard alone, on either back end: Tab and Shift+Tab walk the controls
// in the template's order, and a search, the second adapter chosen, its address changed and one of
// its shares mapped without a click end as they do with the mouse.

#include <gtest/gtest.h>

#include <map>

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "protocol/utf8_text.h"
#include "setup/login_dialog.h"
#include "setup/main_window_controls.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {
namespace {

constexpr int TabOrder[] = {control::DeviceList, control::Refresh,   control::Configuration,
                            control::Ip,         control::Netmask,   control::Gateway,
                            control::Apply,      control::ShareList, control::Connect,
                            control::Disconnect, control::Exit,      control::DriveLetters,
                            control::Dhcp,       control::About,     control::Language};

// Two searches, a login, a move and a mapping: ample under Wine too.
constexpr int LongestRunMs = 60000;

class KeyboardOnly : public MainWindowOnLan {
protected:
    void PrepareLan() override {
        ASSERT_GT(testbed_.StartSimulator({"--password", "secret", "--gateway", "192.0.2.254",
                                           "--shares", "HDD_1", "--adapter", "--name", "NAS-Office",
                                           "--ip", "192.0.2.20", "--adapter", "--name", "NAS-Lab",
                                           "--ip", "192.0.2.21"}),
                  0);
    }

    // Arrows to row `row` of list `id` and Space on it, from where the focus is in the list.
    void ChooseRow(int id, int row) {
        ASSERT_TRUE(TabTo(id));
        for (int step = 0; step < row; ++step) {
            PressKey(Key::Down);
        }
        PressKey(Key::Space);
    }
};

TEST_F(KeyboardOnly, TabsInTheTemplatesOrderSearchChooseChangeAnAddressAndMapAShare) {
    std::string name;
    std::string letter;
    RunDialog(
        dialog,
        [&] {
            std::vector<int> forward;
            std::vector<int> backward;
            for (std::size_t step = 0; step < std::size(TabOrder); ++step) {
                forward.push_back(FocusedControl());
                PressKey(Key::Tab);
            }
            for (std::size_t step = 0; step < std::size(TabOrder); ++step) {
                PressKey(Key::BackTab);
                backward.insert(backward.begin(), FocusedControl());
            }
            EXPECT_EQ(forward, std::vector<int>(std::begin(TabOrder), std::end(TabOrder)));
            EXPECT_EQ(backward, forward);

            ASSERT_TRUE(TabTo(control::Refresh));
            PressKey(Key::Space);
            ASSERT_EQ(Window().deviceList.GetItemCount(), 2);
            name = Window().deviceList.GetItemText(1, 0);
            ChooseRow(control::DeviceList, 1);
            EXPECT_EQ(ControlText(control::Ip), Window().deviceList.GetItemText(1, 1));

            ASSERT_TRUE(TabTo(control::Ip));
            TypeKeys("192.0.2.77");
            WhenDialogShown(LoginDialog::TemplateId, [] {
                TypeKeys("secret");
                PressEnter();
            });
            ASSERT_TRUE(TabTo(control::Apply));
            const auto applied = RunAndAnswerMessageBoxes([] { PressKey(Key::Space); });
            EXPECT_TRUE(applied.empty()) << applied.front().text;
            EXPECT_STREQ(SelectedDeviceIp, "192.0.2.77");

            ChooseRow(control::DeviceList, RowOf(name));
            ChooseRow(control::ShareList, 0);
            letter = Window().driveLetterCombo.GetItemText(Window().driveLetterCombo.GetCurSel());
            ASSERT_TRUE(TabTo(control::Connect));
            MessageBoxAnswerer answerer(Answer::EnterKey);
            PressKey(Key::Space);
            ExpectBox(answerer.Boxes(), "Successfully mapped drive.", "Confirm",
                      ui::MessageIcon::Information);
            EXPECT_EQ(ShareRows(), std::vector<std::string>{"HDD_1|" + letter.substr(0, 2)});
            PressEscape();
        },
        LongestRunMs);
    // As with the mouse: the adapter under its new address, and its share on the letter.
    ASSERT_NE(FindSelectedDevice(), nullptr);
    EXPECT_EQ(ReadableText(TextOf(FindSelectedDevice()->name)), name);
    EXPECT_EQ(drives.connections,
              (std::map<char, std::string>{{letter[0], "\\\\" + name + "\\HDD_1"}}));
}

}  // namespace
}  // namespace lumisk::gui_test
