#include "ui/win32/subclass.h"

namespace lumisk::ui {
namespace {

// SetWindowSubclass would do, but XP's common controls without a manifest export it by ordinal
// only: a window property holds the window's own procedure instead.
constexpr wchar_t OriginalProcedure[] = L"lumisk.original-procedure";

}  // namespace

void Subclass(HWND window, WNDPROC procedure) {
    const LONG_PTR original =
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropW(window, OriginalProcedure, reinterpret_cast<HANDLE>(original));
}

LRESULT CallOriginalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(window, OriginalProcedure));
    if (message == WM_NCDESTROY) {
        RemovePropW(window, OriginalProcedure);
    }
    return original != nullptr ? CallWindowProcW(original, window, message, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lumisk::ui
