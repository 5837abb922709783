#pragma once
// A dialog window kept laid out at its DPI: every control's box and font, the list columns, the
// icons and the window's size, as it opens and whenever it moves to a monitor of another DPI; and
// where it opens (window_placement.h).

#include <windows.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/win32/dialog_layout.h"

namespace lumisk::ui {

class WindowScaling {
public:
    // For the window made from `dialogTemplate`, which outlives this.
    explicit WindowScaling(const DialogTemplate& dialogTemplate);
    ~WindowScaling();
    WindowScaling(const WindowScaling&) = delete;
    WindowScaling& operator=(const WindowScaling&) = delete;

    // Lays out `window`, just made by the dialog manager from the template, at its DPI, and
    // places it over `owner`, if any.
    void Attach(HWND window, HWND owner);
    // A list column's width given in pixels at 96 DPI, grown as the window's boxes have grown
    // with their font, so that the columns fill a list as they do at 96 DPI.
    int ColumnWidth(int pixelsAt96DotsPerInch) const;
    // The window's large and small icon, at its DPI's sizes from then on.
    void SetIcon(int iconId);
    // The window's messages about a change of DPI; whether `message` is one, then handled.
    bool HandleDpiMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Every control's box and font, the list columns, the icons and the window's size for `dpi`.
    void LayOut(int dpi);
    SIZE WindowSize(const DialogLayout& layout) const;
    void ApplyWindowIcons();
    // Icon `iconId` at `size` pixels, loaded once and kept until the window's run ends.
    HICON Icon(int iconId, int size);

    const DialogTemplate& template_;
    HWND window_ = nullptr;
    std::unique_ptr<DialogLayout> layout_;
    // LetterWidth() of the template at 96 DPI.
    double defaultLetterWidth_ = 0;
    // The windows of the template's built controls, in template order.
    std::vector<HWND> controls_;
    int iconId_ = 0;
    std::map<std::pair<int, int>, HICON> icons_;
};

}  // namespace lumisk::ui
