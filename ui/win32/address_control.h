#pragma once
// The IPv4 address control (SysIPAddress32) and its four octet fields.

#include <windows.h>

#include <vector>

namespace lumisk::ui {

// The octet fields of `address`, left to right.
std::vector<HWND> OctetFields(HWND address);

// Typing moves on to the next octet after a third digit; there that octet's text is selected, so
// what is typed next replaces it and a dot right after is swallowed: a dotted address typed over
// a filled field gives exactly that address. Some implementations of the control leave the caret
// before the old text instead; this makes `address` behave as the native one does.
void SelectOctetsMovedInto(HWND address);

}  // namespace lumisk::ui
