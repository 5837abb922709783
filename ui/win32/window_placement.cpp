#include "ui/win32/window_placement.h"

#include <algorithm>
#include <set>

namespace lumisk::ui {
namespace {

// A coordinate that centres `length` over [first, last), kept within [low, high).
int Centred(LONG first, LONG last, int length, LONG low, LONG high) {
    const int start = static_cast<int>((first + last - length) / 2);
    return std::max(static_cast<int>(low), std::min(start, static_cast<int>(high) - length));
}

// The class atom of dialog windows, message boxes among them, as the system registers it.
constexpr ATOM DialogClass = 32770;

// The message boxes made while a placement lives, until they first show.
std::set<HWND> unplacedBoxes;

LRESULT CALLBACK PlaceOnActivation(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND &&
        reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass ==
            reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(DialogClass))) {
        unplacedBoxes.insert(window);
    }
    // Activation comes once the box has its size and before it shows; later ones, when the
    // user returns to it, leave it where it is.
    if (code == HCBT_ACTIVATE && unplacedBoxes.erase(window) != 0) {
        PlaceWindow(window, GetWindow(window, GW_OWNER));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void PlaceWindow(HWND window, HWND owner) {
    RECT box{};
    GetWindowRect(window, &box);
    RECT around{};
    HMONITOR monitor = nullptr;
    const bool overOwner = owner != nullptr && !IsIconic(owner) && GetWindowRect(owner, &around);
    if (overOwner) {
        monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    } else {
        POINT pointer{};
        GetCursorPos(&pointer);
        monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) {
        return;
    }
    const RECT& work = info.rcWork;
    if (!overOwner) {
        around = work;
    }
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(window, nullptr, Centred(around.left, around.right, width, work.left, work.right),
                 Centred(around.top, around.bottom, height, work.top, work.bottom), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MessageBoxPlacement::MessageBoxPlacement()
    : hook_(SetWindowsHookExW(WH_CBT, PlaceOnActivation, nullptr, GetCurrentThreadId())) {}

MessageBoxPlacement::~MessageBoxPlacement() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    unplacedBoxes.clear();
}

}  // namespace lumisk::ui
