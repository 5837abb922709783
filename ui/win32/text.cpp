#include "ui/win32/text.h"

#include <commctrl.h>

#include <string_view>

namespace lumisk::ui {

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

std::string ControlText(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    if (std::wstring_view(className) == WC_IPADDRESSW &&
        SendMessageW(control, IPM_ISBLANK, 0, 0) != 0) {
        return {};
    }
    return WindowText(control);
}

}  // namespace lumisk::ui
