#pragma once
// Where windows open: a window with an owner centred over it, one without on the monitor that
// holds the pointer (else the primary one), each kept within its monitor's work area. The
// templates' positions are not used.

#include <windows.h>

namespace lumisk::ui {

void PlaceWindow(HWND window, HWND owner);

// While it lives, each message box the thread opens is placed by PlaceWindow as it first shows.
class MessageBoxPlacement {
public:
    MessageBoxPlacement();
    ~MessageBoxPlacement();
    MessageBoxPlacement(const MessageBoxPlacement&) = delete;
    MessageBoxPlacement& operator=(const MessageBoxPlacement&) = delete;

private:
    HHOOK hook_;
};

}  // namespace lumisk::ui
