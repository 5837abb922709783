#include "ui/controls.h"

#include <algorithm>

#include "ui/dialog_window_base.h"

namespace lumisk::ui {

// The calls of the control handles that are the same for every back end; the others are the
// back end's (its controls.cpp).

void TextField::SetLimit(int bytes) {
    // As with the native field, no limit given means the largest one.
    constexpr int LargestLimit = 32767;
    if (DialogWindowBase* window = dialog_->Window()) {
        window->LimitTextBytes(id_, bytes > 0 ? std::min(bytes, LargestLimit) : LargestLimit);
    }
}

}  // namespace lumisk::ui
