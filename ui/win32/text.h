#pragma once
// The program's texts are UTF-8; the windows take UTF-16 (protocol/utf16_text.h).

#include <windows.h>

#include <string>

#include "protocol/utf16_text.h"

namespace lumisk::ui {

// The text of window `window`, UTF-8.
std::string WindowText(HWND window);
// The text control `control` shows: its window text, or nothing for a blank address field, whose
// window text says "0.0.0.0".
std::string ControlText(HWND control);

}  // namespace lumisk::ui
