#include "ui/message_box.h"

#include <windows.h>

#include "ui/application.h"
#include "ui/dialog.h"
#include "ui/win32/dialog_colors.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/text.h"
#include "ui/win32/window_placement.h"

namespace lumisk::ui {
namespace {

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return MB_ICONSTOP;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::None:
            break;
    }
    return 0;
}

void Show(HWND owner, const std::string& text, const std::string& caption, MessageIcon icon) {
    ColorSystemDialogs(true);
    const MessageBoxPlacement placement;
    MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | IconStyle(icon));
    ColorSystemDialogs(false);
}

}  // namespace

void ShowMessage(Dialog* owner, const std::string& text, const std::string& caption,
                 MessageIcon icon) {
    const std::string title = caption.empty() ? Application::Name() : caption;
    const DialogWindow* window = owner != nullptr ? WindowOf<DialogWindow>(*owner) : nullptr;
    if (window == nullptr) {
        Show(nullptr, text, title, icon);
    } else if (window->OnItsThread()) {
        Show(window->Handle(), text, title, icon);
    } else {
        // Windows belong to their thread; a worker's message waits there until dismissed.
        owner->RunOnDialogThread([&] { Show(window->Handle(), text, title, icon); });
    }
}

}  // namespace lumisk::ui
