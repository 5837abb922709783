#pragma once
// The DPI a window is drawn at, and the per-monitor calls of newer releases for it. Those are
// looked up by name, so that the programs still start on Windows Vista, where they are missing;
// there the system DPI stands in, as for a system-aware program.

#include <windows.h>

namespace lumisk::ui {

// The DPI that pixel sizes given by the program (list columns) are meant for.
inline constexpr int DefaultDpi = 96;
// WM_DPICHANGED (Windows 8.1) and WM_GETDPISCALEDSIZE (Windows 10 1703), which the headers of the
// oldest release the programs start on do not name.
inline constexpr UINT DpiChangedMessage = 0x02E0;
inline constexpr UINT GetDpiScaledSizeMessage = 0x02E4;

// The DPI the window is drawn at: its monitor's for a per-monitor aware program, else the
// system's.
int WindowDpi(HWND window);
// GetSystemMetrics' `index` at `dpi`.
int SystemMetricForDpi(int index, int dpi);
// The size of a window of `style` and `extendedStyle` around a client area of `client`, its frame
// drawn at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, int dpi);
// Tells the dialog manager to leave the dialog's layout to the dialog when its DPI changes.
void KeepDpiChangesToDialog(HWND dialog);

}  // namespace lumisk::ui
