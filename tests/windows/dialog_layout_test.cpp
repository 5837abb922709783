// The dialogs' layout on the Win32 back end: every label and button text fits its box at the
// template's font, as the dialogs were drawn for, at the DPI the run is made at (LUMISK_TEST_DPI,
// else 96); the layout follows a change of DPI; and where the windows open.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/windows/gui_driver.h"
#include "ui/controls.h"
#include "ui/dialog.h"
#include "ui/message_box.h"
#include "ui/win32/dpi.h"

namespace lumisk::gui_test {
namespace {

struct TextBox {
    std::wstring text;
    int textWidth;
    int boxWidth;
    bool isButton;
};

// Adds `control` to the TextBox list at `found` when it is a label or a push button, with the
// width of its text in its font.
BOOL CALLBACK CollectTextBox(HWND control, LPARAM found) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool label = lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON;
    const LONG buttonType = style & BS_TYPEMASK;
    const bool button = lstrcmpiW(className, L"Button") == 0 &&
                        (buttonType == BS_PUSHBUTTON || buttonType == BS_DEFPUSHBUTTON);
    if (label || button) {
        wchar_t text[256] = {};
        const int length = GetWindowTextW(control, text, 256);
        const HDC dc = GetDC(control);
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT textRect{};
        DrawTextW(dc, text, length, &textRect, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
        RECT box{};
        GetClientRect(control, &box);
        reinterpret_cast<std::vector<TextBox>*>(found)->push_back(
            {text, textRect.right - textRect.left, box.right, button});
    }
    return TRUE;
}

TEST(DialogLayout, EveryLabelAndButtonTextFitsItsBoxAtTheTemplateFont) {
    // Inside a button the text keeps clear of the frame drawn along its edges.
    constexpr int ButtonTextMargin = 3;
    const char* runDpi = std::getenv("LUMISK_TEST_DPI");
    for (const int templateId : {100, 102, 134, 139, 141}) {
        ui::Dialog dialog(templateId);
        RunDialog(dialog, [&] {
            // A program that the system took for DPI-unaware would be drawn at 96 and stretched.
            EXPECT_EQ(ui::WindowDpi(ActiveDialogWindow()), runDpi ? std::atoi(runDpi) : 96);
            std::vector<TextBox> boxes;
            EnumChildWindows(ActiveDialogWindow(), CollectTextBox,
                             reinterpret_cast<LPARAM>(&boxes));
            EXPECT_FALSE(boxes.empty()) << templateId;
            for (const TextBox& box : boxes) {
                EXPECT_LE(box.textWidth, box.boxWidth - (box.isButton ? 2 * ButtonTextMargin : 0))
                    << templateId << " \"" << box.text << "\"";
            }
            PressEscape();
        });
    }
}

// The boxes of the dialog's controls in its client area, in creation order.
std::vector<RECT> ControlBoxes(HWND dialog) {
    std::vector<RECT> boxes;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        boxes.push_back(box);
    }
    return boxes;
}

TEST(DialogLayout, FollowsTheWindowToAMonitorOfTwiceTheDpi) {
    ui::Dialog dialog(102);
    RunDialog(dialog, [&] {
        const HWND window = ActiveDialogWindow();
        const HWND list = GetDlgItem(window, 1000);
        // The main window's device columns, given for 96 DPI, fill the list as they do there.
        ui::ListView devices(dialog, 1000);
        int column = 0;
        for (const int width : {94, 81, 81, 81}) {
            devices.InsertColumn(column++, "Column", width);
        }
        EXPECT_FALSE(ShowsHorizontalScrollBar(1000));
        const auto firstColumn = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
        const std::vector<RECT> before = ControlBoxes(window);
        RECT suggested{};
        GetWindowRect(window, &suggested);
        // As the system sends it when the window is dragged there, and back.
        const auto moveTo = [&](int dpi) {
            SendMessageW(window, ui::DpiChangedMessage, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        };
        const int dpi = ui::WindowDpi(window);
        moveTo(2 * dpi);
        const std::vector<RECT> doubled = ControlBoxes(window);
        ASSERT_EQ(doubled.size(), before.size());
        for (std::size_t index = 0; index < before.size(); ++index) {
            // The font's letters do not grow exactly with it.
            EXPECT_NEAR(doubled[index].right, 2 * before[index].right, before[index].right / 5);
            EXPECT_NEAR(doubled[index].bottom, 2 * before[index].bottom, before[index].bottom / 5);
        }
        EXPECT_NEAR(static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0)), 2 * firstColumn,
                    firstColumn / 5);
        EXPECT_FALSE(ShowsHorizontalScrollBar(1000));
        moveTo(dpi);
        const std::vector<RECT> back = ControlBoxes(window);
        for (std::size_t index = 0; index < before.size(); ++index) {
            EXPECT_TRUE(EqualRect(&back[index], &before[index])) << index;
        }
        EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), firstColumn);
        PressEscape();
    });
}

// Whether `window` is centred over `outer`, to the pixel that halving leaves.
void ExpectCentredOver(HWND window, const RECT& outer) {
    RECT box{};
    GetWindowRect(window, &box);
    EXPECT_NEAR(box.left + box.right, outer.left + outer.right, 1);
    EXPECT_NEAR(box.top + box.bottom, outer.top + outer.bottom, 1);
}

TEST(WindowPlacement, MainWindowOnThePointersScreenTheOthersOverTheirOwner) {
    ui::Dialog main(102);
    RunDialog(main, [&] {
        POINT pointer{};
        GetCursorPos(&pointer);
        MONITORINFO screen{};
        screen.cbSize = sizeof screen;
        GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &screen);
        ExpectCentredOver(ActiveDialogWindow(), screen.rcWork);
        RECT mainBox{};
        GetWindowRect(ActiveDialogWindow(), &mainBox);
        ui::Dialog login(134, &main);
        RunDialog(login, [&] {
            ExpectCentredOver(ActiveDialogWindow(), mainBox);
            RECT loginBox{};
            GetWindowRect(ActiveDialogWindow(), &loginBox);
            WhenMessageBoxShown([&] {
                ExpectCentredOver(GetActiveWindow(), loginBox);
                AnswerMessageBox("Placed");
            });
            ui::ShowMessage(&login, "Over the login dialog", "Placed");
            PressEscape();
        });
        PressEscape();
    });
}

}  // namespace
}  // namespace lumisk::gui_test
