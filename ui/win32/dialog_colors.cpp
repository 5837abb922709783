#include "ui/win32/dialog_colors.h"

#include <cwchar>
#include <optional>
#include <utility>

#include "ui/win32/subclass.h"

namespace lumisk::ui {
namespace {

bool SystemHighContrast() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HighContrastQuery highContrastQuery = SystemHighContrast;
std::optional<bool> highContrast;

HBRUSH background = nullptr;
COLORREF textColor = 0;
COLORREF backgroundColor = 0;

// A static or a button: an edit field reports itself as static too when it is read-only.
bool TakesDialogColors(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    return _wcsicmp(className, L"Static") == 0 || _wcsicmp(className, L"Button") == 0;
}

LRESULT CALLBACK ColorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOLORCHANGE ||
        (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST)) {
        FollowSystemColours(window);
    }
    if (HBRUSH brush = DialogColorFor(message, reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
    }
    return CallOriginalProcedure(window, message, wParam, lParam);
}

// The class atom of dialog windows, as the system registers it.
constexpr ATOM DialogClass = 32770;

HHOOK colorHook = nullptr;

LRESULT CALLBACK ColorHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create->lpcs->lpszClass ==
            reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(DialogClass))) {
            Subclass(reinterpret_cast<HWND>(wParam), ColorProcedure);
        }
    }
    return CallNextHookEx(colorHook, code, wParam, lParam);
}

}  // namespace

bool HighContrastOn() {
    if (!highContrast) {
        highContrast = highContrastQuery();
    }
    return *highContrast;
}

void RefreshHighContrast() {
    highContrast = highContrastQuery();
}

void FollowSystemColours(HWND window) {
    RefreshHighContrast();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

HighContrastQuery SetHighContrastQuery(HighContrastQuery query) {
    const HighContrastQuery previous = std::exchange(highContrastQuery, query);
    RefreshHighContrast();
    return previous;
}

void SetDialogPalette(Rgb bg, Rgb text) {
    if (background != nullptr) {
        DeleteObject(background);
    }
    backgroundColor = RGB(bg.red, bg.green, bg.blue);
    textColor = RGB(text.red, text.green, text.blue);
    background = CreateSolidBrush(backgroundColor);
}

HBRUSH DialogColorFor(UINT message, HDC context, HWND control) {
    if (background == nullptr || HighContrastOn()) {
        return nullptr;
    }
    switch (message) {
        case WM_CTLCOLORDLG:
            return background;
        case WM_CTLCOLORSTATIC:
            if (!TakesDialogColors(control)) {
                return nullptr;
            }
            SetTextColor(context, textColor);
            SetBkColor(context, backgroundColor);
            return background;
        case WM_CTLCOLORBTN:
            // The corners around a push button, and a group box's frame and title.
            SetTextColor(context, textColor);
            SetBkColor(context, backgroundColor);
            return background;
        default:
            return nullptr;
    }
}

void ColorSystemDialogs(bool on) {
    if (on && colorHook == nullptr && background != nullptr) {
        colorHook = SetWindowsHookExW(WH_CBT, ColorHook, nullptr, GetCurrentThreadId());
    } else if (!on && colorHook != nullptr) {
        UnhookWindowsHookEx(colorHook);
        colorHook = nullptr;
    }
}

}  // namespace lumisk::ui
