#include "ui/win32/address_control.h"

#include <algorithm>
#include <utility>

#include "ui/win32/subclass.h"

namespace lumisk::ui {
namespace {

constexpr int DigitsPerOctet = 3;

LONG Left(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.left;
}

LRESULT CALLBACK OctetProcedure(HWND octet, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallOriginalProcedure(octet, message, wParam, lParam);
    if (message == WM_SETFOCUS) {
        // Moved on from the full octet to the left.
        const auto previous = reinterpret_cast<HWND>(wParam);
        if (previous != nullptr && GetParent(previous) == GetParent(octet) &&
            Left(previous) < Left(octet) && GetWindowTextLengthW(previous) == DigitsPerOctet) {
            SendMessageW(octet, EM_SETSEL, 0, -1);
        }
    }
    return result;
}

}  // namespace

std::vector<HWND> OctetFields(HWND address) {
    std::vector<std::pair<LONG, HWND>> fields;
    for (HWND child = GetWindow(address, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        fields.emplace_back(Left(child), child);
    }
    std::sort(fields.begin(), fields.end());
    std::vector<HWND> ordered;
    for (const auto& field : fields) {
        ordered.push_back(field.second);
    }
    return ordered;
}

void SelectOctetsMovedInto(HWND address) {
    for (const HWND octet : OctetFields(address)) {
        Subclass(octet, OctetProcedure);
    }
}

}  // namespace lumisk::ui
