// What screen readers meet on the Win32 back end, read back through oleacc where Wine answers:
// the names of every dialog's controls, the announcements, and the focus cues. Wine's oleacc
// names a window by its own text, as the system does a button's or a group box's; a field's name
// the system takes from the label before it, which is checked here in the windows' order, as Wine
// does not read it. The names given by annotation (list views, address controls, dialogs without
// caption) Wine does not keep at all.

#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/windows/gui_driver.h"
#include "ui/accessible_name.h"
#include "ui/dialog.h"
#include "ui/win32/text.h"

namespace lumisk::gui_test {
namespace {

// Windows 8's event for a live region that changed.
constexpr DWORD LiveRegionChanged = 0x8019;

std::string NameOf(IAccessible* accessible, VARIANT child) {
    BSTR name = nullptr;
    if (accessible == nullptr || accessible->get_accName(child, &name) != S_OK) {
        return {};
    }
    const std::string text = ui::Narrow(std::wstring(name, SysStringLen(name)));
    SysFreeString(name);
    return text;
}

// The name oleacc gives `window`.
std::string OleaccName(HWND window) {
    IAccessible* accessible = nullptr;
    // By __uuidof: MinGW's import library of oleacc gives IID_IAccessible as code, not the GUID.
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&accessible));
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const std::string name = NameOf(accessible, self);
    if (accessible != nullptr) {
        accessible->Release();
    }
    return name;
}

std::string ClassOf(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return ui::Narrow(name);
}

TEST(ScreenReader, EveryControlIsNamedByItsTextOrTheLabelBeforeIt) {
    for (const int templateId : {100, 102, 134, 139, 141}) {
        const std::optional<ui::DialogTemplate> dialogTemplate = ui::LoadDialogTemplate(templateId);
        ASSERT_TRUE(dialogTemplate.has_value());
        ui::Dialog dialog(templateId);
        RunDialog(dialog, [&] {
            for (std::size_t index = 0; index < dialogTemplate->controls.size(); ++index) {
                const ui::ControlTemplate& control = dialogTemplate->controls[index];
                const HWND window = GetDlgItem(ActiveDialogWindow(), control.id);
                const std::string name = ui::AccessibleName(*dialogTemplate, index);
                if (control.kind == "button") {
                    EXPECT_EQ(OleaccName(window), name) << templateId;
                } else if (control.kind == "edit" || control.kind == "combobox" ||
                           control.kind == "progress") {
                    const HWND label = GetWindow(window, GW_HWNDPREV);
                    EXPECT_EQ(ClassOf(label), "Static") << templateId << " " << name;
                    EXPECT_EQ(OleaccName(label).rfind(name, 0), 0u) << templateId << " " << name;
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
    IAccessible* accessible = nullptr;
    VARIANT id;
    VariantInit(&id);
    if (AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                  &accessible, &id) == S_OK) {
        heard.push_back(NameOf(accessible, id));
        accessible->Release();
    }
    RECT size{};
    GetClientRect(window, &size);
    EXPECT_TRUE(IsRectEmpty(&size)) << "the line shows in the window";
}

TEST(ScreenReader, AnnouncementsComeAsOneLiveRegionChangeWithoutSize) {
    ui::Dialog dialog(102);
    RunDialog(dialog, [&] {
        heard.clear();
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
