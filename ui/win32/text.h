#pragma once
// The program's texts are UTF-8; the windows take UTF-16.

#include <windows.h>

#include <string>

namespace lumisk::ui {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The text of window `window`, UTF-8.
std::string WindowText(HWND window);
// The text control `control` shows: its window text, or nothing for a blank address field, whose
// window text says "0.0.0.0".
std::string ControlText(HWND control);

}  // namespace lumisk::ui
