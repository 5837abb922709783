#pragma once
// What screen readers are told about a dialog beyond what the system reads from its windows,
// through the system's direct annotation (Microsoft Active Accessibility 2, also read by UI
// Automation): the names the system cannot take from a label before a control, and a line the
// window says as a live region. Needs COM on the thread.

#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "ui/dialog_template.h"

struct IAccPropServices;

namespace lumisk::ui {

class ScreenReaderAnnotations {
public:
    ScreenReaderAnnotations();
    // Clear().
    ~ScreenReaderAnnotations();
    ScreenReaderAnnotations(const ScreenReaderAnnotations&) = delete;
    ScreenReaderAnnotations& operator=(const ScreenReaderAnnotations&) = delete;

    // Names the list views and address controls of `dialog` (each octet field too, with its place
    // in the address), and the dialog itself when it has no caption, as `dialogTemplate` names
    // them.
    void NameControls(HWND dialog, const DialogTemplate& dialogTemplate);
    // Makes `label` a polite live region: screen readers read its text once they are done
    // speaking, each time AnnounceChange is called for it.
    void MakeLiveRegion(HWND label);
    static void AnnounceChange(HWND label);
    // Takes back every annotation made here: the windows are about to go.
    void Clear();

private:
    void SetText(HWND window, DWORD object, const GUID& property, const std::string& text);

    ::IAccPropServices* services_ = nullptr;
    std::vector<std::tuple<HWND, DWORD, GUID>> made_;
};

}  // namespace lumisk::ui
