// What screen readers meet on the Win32 back end, read back through oleacc where Wine answers.
// Wine's oleacc names a window by its own text: right for a button, not for a field, which the
// system names by the label before it, so for fields that label is read. The names given by
// annotation (list views, address controls, dialogs without caption) Wine does not keep.

#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/windows/gui_driver.h"
#include "ui/accessible_name.h"
#include "ui/win32/text.h"

namespace lumisk::gui_test {
namespace {

// Windows 8's event for a live region that changed.
constexpr DWORD LiveRegionChanged = 0x8019;

// The name oleacc gives `window`, or the child `child` of the object of `window` and `object`.
std::string OleaccName(HWND window, LONG object = OBJID_CLIENT, LONG child = CHILDID_SELF) {
    IAccessible* accessible = nullptr;
    VARIANT id;
    VariantInit(&id);
    if (AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                  &accessible, &id) != S_OK) {
        return {};
    }
    BSTR name = nullptr;
    const HRESULT named = accessible->get_accName(id, &name);
    accessible->Release();
    const std::string text =
        named == S_OK ? Narrow(std::wstring(name, SysStringLen(name))) : std::string();
    SysFreeString(name);
    return text;
}

TEST(ScreenReader, EveryControlIsNamedByItsTextOrTheLabelBeforeIt) {
    for (const int templateId : {100, 102, 134, 139, 141}) {
        const auto dialogTemplate = ui::LoadDialogTemplate(templateId);
        ui::Dialog dialog(templateId);
        RunDialog(dialog, [&] {
            for (std::size_t index = 0; index < dialogTemplate->controls.size(); ++index) {
                const ui::ControlTemplate& control = dialogTemplate->controls[index];
                const HWND window = GetDlgItem(ActiveDialogWindow(), control.id);
                const std::string name = ui::AccessibleName(*dialogTemplate, index);
                if (control.kind == "button") {
                    EXPECT_EQ(OleaccName(window), name);
                } else if (control.kind == "edit" || control.kind == "combobox" ||
                           control.kind == "progress") {
                    EXPECT_EQ(OleaccName(GetWindow(window, GW_HWNDPREV)).rfind(name, 0), 0u)
                        << name;
                }
            }
            // The keyboard focus shows from the start.
            EXPECT_EQ(SendMessageW(ActiveDialogWindow(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS,
                      0);
            dialog.EndDialog(ui::IdCancel);
        });
    }
}

std::vector<std::string> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    heard.push_back(OleaccName(window, object, child));
    RECT size{};
    GetClientRect(window, &size);
    EXPECT_TRUE(IsRectEmpty(&size)) << "the line shows in the window";
}

TEST(ScreenReader, AnnouncementsComeAsOneLiveRegionChangeWithoutSize) {
    ui::Dialog dialog(102);
    RunDialog(dialog, [&] {
        const HWINEVENTHOOK hook =
            SetWinEventHook(LiveRegionChanged, LiveRegionChanged, nullptr, Hear,
                            GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        dialog.Announce("2 adapters found");
        dialog.Announce("NAS-Lab now has the address 192.0.2.77");
        EXPECT_TRUE(WaitUntil([] { return !heard.empty(); }));
        UnhookWinEvent(hook);
        EXPECT_EQ(heard, std::vector<std::string>{
                             "2 adapters found. NAS-Lab now has the address 192.0.2.77"});
        dialog.EndDialog(ui::IdCancel);
    });
}

}  // namespace
}  // namespace lumisk::gui_test
