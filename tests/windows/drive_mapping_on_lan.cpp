// Connect and Disconnect of lumisk.exe's window on the Windows logic of the drive mapping, under
// Wine in the LAN testbed. Wine has no network provider: the system's calls are answered by a fake
// with the texts and codes Windows gives.

#include <gtest/gtest.h>

#include <memory>

#include "drives/windows_drives.h"
#include "protocol/utf16_text.h"
#include "setup/login_dialog.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/support/fake_drive_calls.h"
#include "tests/windows/gui_driver.h"

namespace lumisk::gui_test {
namespace {

constexpr wchar_t ProtectedShare[] = L"\\\\NAS-Office\\HDD_b";

// The fake calls and the drives on them, made before the window that uses them.
struct WindowsCalls {
    testing::FakeDriveCalls calls;
    std::unique_ptr<HostDrives> windowsDrives = MakeWindowsDrives(calls);
};

class WindowsDriveMapping : private WindowsCalls, public MainWindowOnLan {
protected:
    WindowsDriveMapping() : MainWindowOnLan(*windowsDrives) {}

    using WindowsCalls::calls;
};

TEST_F(WindowsDriveMapping, CredentialsReachTheSystemAsTheLoginDialogShowsThem) {
    StartFourAdapters();
    calls.passwords[ProtectedShare] = L"p\u00e4ssw\u00f6rd";
    std::wstring shownUser;
    std::wstring shownPassword;
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            TypeText(LoginDialog::UserNameEdit, "J\u00fcrgen");
            TypeText(LoginDialog::PasswordEdit, "p\u00e4ssw\u00f6rd");
            shownUser = Widen(ControlText(LoginDialog::UserNameEdit));
            shownPassword = Widen(ControlText(LoginDialog::PasswordEdit));
            ClickButton(ui::IdOk);
        });
        ExpectBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Connect); }),
                  "Successfully mapped drive.", "Confirm", ui::MessageIcon::Information);
        ClickButton(control::Exit);
    });
    ASSERT_EQ(calls.added.size(), 2u) << "the stored credentials first, then the typed ones";
    EXPECT_EQ(calls.added[1].remoteName, ProtectedShare);
    EXPECT_EQ(shownUser, L"J\u00fcrgen");
    EXPECT_EQ(calls.added[1].userName, shownUser);
    EXPECT_EQ(calls.added[1].password, shownPassword);
}

}  // namespace
}  // namespace lumisk::gui_test
