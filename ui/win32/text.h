#pragma once
// The program's texts are UTF-8; the windows take UTF-16.

#include <windows.h>

#include <string>

namespace lumisk::ui {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The text of window `window`, UTF-8.
std::string WindowText(HWND window);

}  // namespace lumisk::ui
