#include "ui/win32/dpi.h"

namespace lumisk::ui {
namespace {

// A call of user32 that newer releases have, or nullptr.
template <typename Function>
Function NewerUserCall(const char* name) {
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    return user != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name)))
               : nullptr;
}

int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : DefaultDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : DefaultDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    // Windows 10 1607.
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = NewerUserCall<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    // Windows 10 1607; before it, the metrics are the system DPI's.
    using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
    static const auto forDpi = NewerUserCall<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    return forDpi != nullptr ? forDpi(index, static_cast<UINT>(dpi))
                             : MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, int dpi) {
    // Windows 10 1607; before it, every frame is drawn at the system DPI.
    using AdjustForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = NewerUserCall<AdjustForDpiCall>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (adjustForDpi != nullptr) {
        adjustForDpi(&rect, style, FALSE, extendedStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void KeepDpiChangesToDialog(HWND dialog) {
    // Windows 10 1703, where the dialog manager would otherwise re-lay the dialog itself, from
    // its own rounding of the font's size. DDC_DISABLE_ALL, for the changes and the mask.
    using SetBehaviorCall = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = NewerUserCall<SetBehaviorCall>("SetDialogDpiChangeBehavior");
    constexpr int DisableAll = 0x0001;
    if (setBehavior != nullptr) {
        setBehavior(dialog, DisableAll, DisableAll);
    }
}

}  // namespace lumisk::ui
