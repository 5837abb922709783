#include "ui/win32/window_scaling.h"

#include <commctrl.h>

#include <cmath>

#include "ui/win32/dpi.h"
#include "ui/win32/template_builder.h"
#include "ui/win32/window_placement.h"

namespace lumisk::ui {

WindowScaling::WindowScaling(const DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}

WindowScaling::~WindowScaling() {
    for (const auto& [key, icon] : icons_) {
        DestroyIcon(icon);
    }
}

void WindowScaling::Attach(HWND window, HWND owner) {
    window_ = window;
    // The dialog manager makes the controls in template order, each below the one before.
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        controls_.push_back(child);
    }
    KeepDpiChangesToDialog(window_);
    defaultLetterWidth_ = DialogLayout(template_, DefaultDpi).LetterWidth();
    LayOut(WindowDpi(window_));
    PlaceWindow(window_, owner);
    // Placed on a monitor of another DPI: laid out anew for it.
    const int dpi = WindowDpi(window_);
    if (dpi != layout_->Dpi()) {
        LayOut(dpi);
        PlaceWindow(window_, owner);
    }
}

int WindowScaling::ColumnWidth(int pixelsAt96DotsPerInch) const {
    if (!layout_) {
        return pixelsAt96DotsPerInch;
    }
    return static_cast<int>(
        std::lround(pixelsAt96DotsPerInch * layout_->LetterWidth() / defaultLetterWidth_));
}

void WindowScaling::LayOut(int dpi) {
    auto layout = std::make_unique<DialogLayout>(template_, dpi);
    const auto font = reinterpret_cast<WPARAM>(layout->Font());
    std::size_t index = 0;
    for (const ControlTemplate& control : template_.controls) {
        if (!IsBuilt(control) || index == controls_.size()) {
            continue;
        }
        const HWND child = controls_[index++];
        const RECT box = layout->ControlBox(control);
        SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, font, TRUE);
        if (control.kind == "icon") {
            SendMessageW(
                child, STM_SETICON,
                reinterpret_cast<WPARAM>(Icon(control.icon, SystemMetricForDpi(SM_CXICON, dpi))),
                0);
        }
        if (control.kind == "listview" && layout_) {
            // The columns the program sized keep their share of the list.
            const auto header = reinterpret_cast<HWND>(SendMessageW(child, LVM_GETHEADER, 0, 0));
            const auto columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            for (int column = 0; column < columns; ++column) {
                const auto width = static_cast<int>(
                    SendMessageW(child, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
                SendMessageW(child, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                             std::lround(width * layout->LetterWidth() / layout_->LetterWidth()));
            }
        }
    }
    const SIZE size = WindowSize(*layout);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The earlier layout's font goes only now, when no control uses it.
    layout_ = std::move(layout);
    if (iconId_ != 0) {
        ApplyWindowIcons();
    }
}

SIZE WindowScaling::WindowSize(const DialogLayout& layout) const {
    return WindowSizeForClient(
        layout.ClientSize(), static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), layout.Dpi());
}

void WindowScaling::SetIcon(int iconId) {
    iconId_ = iconId;
    ApplyWindowIcons();
}

void WindowScaling::ApplyWindowIcons() {
    const int dpi = layout_ ? layout_->Dpi() : WindowDpi(window_);
    SendMessageW(window_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(Icon(iconId_, SystemMetricForDpi(SM_CXICON, dpi))));
    SendMessageW(window_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(Icon(iconId_, SystemMetricForDpi(SM_CXSMICON, dpi))));
}

HICON WindowScaling::Icon(int iconId, int size) {
    HICON& icon = icons_[{iconId, size}];
    if (icon == nullptr) {
        // Not shared: the system's cache would hand back the size loaded first.
        icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                             IMAGE_ICON, size, size, 0));
    }
    return icon;
}

bool WindowScaling::HandleDpiMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case GetDpiScaledSizeMessage:
            // The size the window will have at the new DPI, so that the system's suggestion for
            // its place fits it.
            *reinterpret_cast<SIZE*>(lParam) =
                WindowSize(DialogLayout(template_, static_cast<int>(wParam)));
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return true;
        case DpiChangedMessage: {
            // Moved to a monitor of another DPI: laid out for it where the system suggests.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            LayOut(HIWORD(wParam));
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace lumisk::ui
