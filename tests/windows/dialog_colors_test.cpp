// The dialog colours on the Win32 back end: the window's own surface and a message box's take the
// background set at start-up, an edit field keeps the system's white; with the system's
// high-contrast setting on, all take the system's colours, as soon as the setting changes.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "setup/login_dialog.h"
#include "tests/support/fake_host.h"
#include "tests/windows/gui_driver.h"
#include "ui/message_box.h"
#include "ui/win32/dialog_colors.h"

namespace lumisk::gui_test {
namespace {

constexpr COLORREF DialogBlue = RGB(0, 98, 147);
constexpr COLORREF White = RGB(255, 255, 255);

// Whether `window` shows `expected` at a point of its client area, once it has painted.
bool Shows(HWND window, int x, int y, COLORREF expected) {
    return WaitUntil([&] {
        POINT point{x, y};
        ClientToScreen(window, &point);
        const HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        return colour == expected;
    });
}

TEST(DialogColours, TheWindowAndMessageBoxesButNotTheFields) {
    testing::FakeSystem system;
    LoginDialog login(system);
    RunDialog(login, [&] {
        EXPECT_TRUE(Shows(ActiveDialogWindow(), 2, 2, DialogBlue));
        RECT field{};
        GetWindowRect(GetDlgItem(ActiveDialogWindow(), LoginDialog::PasswordEdit), &field);
        POINT inside{field.right - 4, (field.top + field.bottom) / 2};
        ScreenToClient(ActiveDialogWindow(), &inside);
        EXPECT_TRUE(Shows(ActiveDialogWindow(), inside.x, inside.y, White));
        // A box the worker shows waits on the dialog's thread until it is answered.
        std::string answered;
        WhenMessageBoxShown([&] {
            EXPECT_TRUE(Shows(FindWindowW(L"#32770", L"Check"), 2, 2, DialogBlue));
            answered = AnswerMessageBox("Check");
        });
        std::thread worker([&login] { ui::ShowMessage(&login, "Coloured", "Check"); });
        EXPECT_TRUE(WaitUntil([&] { return !answered.empty(); }));
        EXPECT_EQ(answered, "Coloured");
        worker.join();
        ClickButton(ui::IdCancel);
    });
}

// What the system says of its high-contrast setting; Wine's never says it is on.
bool highContrast = false;

TEST(DialogColours, TheSystemsInHighContrastFollowedWhileTheWindowRuns) {
    const ui::HighContrastQuery systems = ui::SetHighContrastQuery([] { return highContrast; });
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(face, DialogBlue);
    testing::FakeSystem system;
    LoginDialog login(system);
    RunDialog(login, [&] {
        const HWND window = ActiveDialogWindow();
        EXPECT_TRUE(Shows(window, 2, 2, DialogBlue));
        // The system tells every window when the setting changes.
        highContrast = true;
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(Shows(window, 2, 2, face));
        highContrast = false;
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(Shows(window, 2, 2, DialogBlue));
        ClickButton(ui::IdCancel);
    });
    ui::SetHighContrastQuery(systems);
}

}  // namespace
}  // namespace lumisk::gui_test
