// The dialogs' layout on the Win32 back end: every label and button text fits its box at the
// template's font, as the dialogs were drawn for.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/gui_driver.h"
#include "ui/dialog.h"

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
    for (const int templateId : {100, 102, 134, 139, 141}) {
        ui::Dialog dialog(templateId);
        RunDialog(dialog, [&] {
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

}  // namespace
}  // namespace lumisk::gui_test
