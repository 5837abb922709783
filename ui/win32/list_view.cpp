#include "ui/win32/list_view.h"

#include <commctrl.h>

namespace lumisk::ui {

void ShowFocusOnARow(HWND list) {
    if (GetFocus() != list || SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0 ||
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0) {
        return;
    }
    LVITEMW focused{};
    focused.stateMask = LVIS_FOCUSED;
    focused.state = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focused));
}

}  // namespace lumisk::ui
