#pragma once
// Subclassing a window the way every Windows release has it: a procedure of ours in front of the
// window's own, which it hands the rest to.

#include <windows.h>

namespace lumisk::ui {

// Puts `procedure` in front of `window`'s own procedure; one such procedure per window.
void Subclass(HWND window, WNDPROC procedure);

// The window's own procedure for what `procedure` leaves to it; it forgets the subclass when the
// window goes.
LRESULT CallOriginalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lumisk::ui
