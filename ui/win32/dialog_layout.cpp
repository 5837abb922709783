#include "ui/win32/dialog_layout.h"

#include <algorithm>
#include <iterator>

#include "ui/win32/template_builder.h"
#include "ui/win32/text.h"

namespace lumisk::ui {
DialogLayout::DialogLayout(const DialogTemplate& dialogTemplate, int dpi)
    : template_(dialogTemplate), dpi_(dpi) {
    static constexpr wchar_t Letters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr int LetterCount = static_cast<int>(std::size(Letters)) - 1;
    font_ = CreateFontW(-MulDiv(dialogTemplate.fontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE,
                        FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        Widen(dialogTemplate.fontFace).c_str());
    // Without a font to measure, the system font's units.
    const LONG systemUnits = GetDialogBaseUnits();
    letterWidth_ = LOWORD(systemUnits);
    letterHeight_ = HIWORD(systemUnits);
    const HDC screen = GetDC(nullptr);
    if (font_ == nullptr || screen == nullptr) {
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return;
    }
    const HGDIOBJ previous = SelectObject(screen, font_);
    SIZE letters{};
    TEXTMETRICW metrics{};
    if (GetTextExtentPoint32W(screen, Letters, LetterCount, &letters) && letters.cx > 0 &&
        GetTextMetricsW(screen, &metrics)) {
        // The dialog manager's mean letter width: the width of a pair of letters, halved and
        // rounded.
        const long rounded = (letters.cx / (LetterCount / 2) + 1) / 2;
        const double exact = static_cast<double>(letters.cx) / LetterCount;
        letterWidth_ = std::max(exact, static_cast<double>(rounded));
        letterWidthCorrection_ = rounded > 0 ? letterWidth_ / static_cast<double>(rounded) : 1.0;
        letterHeight_ = metrics.tmHeight;
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
}

DialogLayout::~DialogLayout() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

RECT DialogLayout::ControlBox(const ControlTemplate& control) const {
    const Span horizontal = Scaled(control.rect.x, control.rect.width, letterWidth_ / 4);
    const Span vertical = Scaled(control.rect.y, control.rect.height, letterHeight_ / 8.0);
    return {horizontal.start, vertical.start, horizontal.start + horizontal.length,
            vertical.start + vertical.length};
}

SIZE DialogLayout::ClientSize() const {
    return {Scaled(0, template_.width, letterWidth_ / 4).length,
            Scaled(0, template_.height, letterHeight_ / 8.0).length};
}

}  // namespace lumisk::ui
